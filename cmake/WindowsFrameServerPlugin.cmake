# The Windows form of the native frame-server plug-ins (included by src/vapoursynth and
# src/avisynthplus in Windows builds).
#
#   velmire_windows_plugin(TARGET BASE_NAME HOST)
#
# makes TARGET the DLL BASE_NAME-x64.dll or BASE_NAME-x86.dll, with a version resource that names
# the frame server HOST and the bitness. The source marks the entry point dllexport, which makes
# it the one export. Linked statically, the DLL imports only KERNEL32.dll and msvcrt.dll;
# release builds are stripped.
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELMIRE_WINDOWS_ARCH x64)
  set(VELMIRE_WINDOWS_BITS 64-bit)
else()
  set(VELMIRE_WINDOWS_ARCH x86)
  set(VELMIRE_WINDOWS_BITS 32-bit)
endif()

function(velmire_windows_plugin target base_name host)
  set(VELMIRE_DLL_NAME ${base_name}-${VELMIRE_WINDOWS_ARCH})
  set(VELMIRE_DLL_DESCRIPTION "Velmire cross-colour reduction for ${host}, "
                              "${VELMIRE_WINDOWS_BITS} (${VELMIRE_WINDOWS_ARCH})")
  string(JOIN "" VELMIRE_DLL_DESCRIPTION ${VELMIRE_DLL_DESCRIPTION})
  set(VELMIRE_RC_VERSION
      "${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, ${PROJECT_VERSION_PATCH}, 0")
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${VELMIRE_DLL_NAME}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/res/frame_server_plugin.rc.in ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${VELMIRE_DLL_NAME})
  if(MINGW)
    target_link_options(${target} PRIVATE -static $<$<CONFIG:Release,MinSizeRel>:-s>)
  endif()
endfunction()
