# Each folder of src/ is its own library and sees the headers of the libraries it links, and no
# others: its include root in the build tree holds a link to its own folder alone, so an
# include against the flow of the layers fails to compile.
#
#   velmire_layer(TARGET FOLDER [DEPENDENCY ...])
#
# FOLDER is relative to src/ (for example "detect" or "tool/y4m"); headers are included by that
# path ("detect/edge_mask.h"). The dependencies are linked PUBLIC (INTERFACE for header-only
# libraries), so their headers reach the libraries above. Warnings are switched on.
function(velmire_layer target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  set(link ${root}/${folder})
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT IS_SYMLINK ${link})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${link} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL INTERFACE_LIBRARY)
    target_include_directories(${target} INTERFACE ${root})
    target_link_libraries(${target} INTERFACE ${ARGN})
  else()
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PUBLIC ${ARGN})
    velmire_warnings(${target})
  endif()
endfunction()

# velmire_export_only(TARGET): a loadable module of a POSIX build exports what the exports.map
# beside its CMakeLists.txt names, nothing else, and links with no symbol left undefined. With
# VELMIRE_STATIC_RUNTIME it carries its own copy of libstdc++ and libgcc (hidden by the map).
function(velmire_export_only target)
  set(map ${CMAKE_CURRENT_SOURCE_DIR}/exports.map)
  target_link_options(${target} PRIVATE -Wl,--version-script=${map} -Wl,--no-undefined)
  if(VELMIRE_STATIC_RUNTIME)
    target_link_options(${target} PRIVATE -static-libstdc++ -static-libgcc)
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
