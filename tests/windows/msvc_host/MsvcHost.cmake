# Builds the test host for Microsoft's ABI with clang and lld-link (no Microsoft tools, no C++
# standard library), against MinGW's import libraries for KERNEL32.dll and msvcrt.dll. The one
# runtime export it needs that MinGW's msvcrt import library lacks, the C++ exception frame
# handler, comes from an import library that llvm-dlltool makes.
# Sets VELMIRE_MSVC_HOST to the program's path.

set(_llvm_hints /usr/lib/llvm-14/bin /usr/lib/llvm/bin)
find_program(VELMIRE_MSVC_CLANG NAMES clang++ clang++-14 HINTS ${_llvm_hints} REQUIRED)
find_program(VELMIRE_LLD_LINK NAMES lld-link lld-link-14 HINTS ${_llvm_hints} REQUIRED)
find_program(VELMIRE_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14 HINTS ${_llvm_hints} REQUIRED)
find_library(VELMIRE_MINGW_KERNEL32 kernel32 REQUIRED)
find_library(VELMIRE_MINGW_MSVCRT msvcrt REQUIRED)

set(_host_dir ${CMAKE_CURRENT_LIST_DIR})
set(_out_dir ${CMAKE_CURRENT_BINARY_DIR}/msvc_host)
file(MAKE_DIRECTORY ${_out_dir})
set(VELMIRE_MSVC_HOST ${_out_dir}/velmire_msvc_host.exe)

set(_sources binder.cpp checks.cpp environment.cpp expected_frames.cpp filter_cases.cpp
             frame_compare.cpp frame_store.cpp host_main.cpp runtime.cpp source_clip.cpp)
file(GLOB _headers ${_host_dir}/*.h)
list(APPEND _headers ${_host_dir}/../host_cases.h)

set(_flags --target=i686-pc-windows-msvc -std=c++20 -O2 -ffreestanding -fexceptions
           -fcxx-exceptions -Wall -Wextra -Wshadow)
set(_objects "")
foreach(source IN LISTS _sources)
  string(REPLACE ".cpp" ".obj" object ${_out_dir}/${source})
  add_custom_command(OUTPUT ${object}
    COMMAND ${VELMIRE_MSVC_CLANG} ${_flags} -c ${_host_dir}/${source} -o ${object}
    DEPENDS ${_host_dir}/${source} ${_headers}
    COMMENT "Compiling ${source} for the Microsoft ABI"
    VERBATIM)
  list(APPEND _objects ${object})
endforeach()

set(_extra_lib ${_out_dir}/msvcrt_extra.lib)
add_custom_command(OUTPUT ${_extra_lib}
  COMMAND ${VELMIRE_LLVM_DLLTOOL} -m i386 -d ${_host_dir}/msvcrt_extra.def -l ${_extra_lib}
  DEPENDS ${_host_dir}/msvcrt_extra.def
  VERBATIM)

# SafeSEH stays off: MinGW's import libraries carry no SafeSEH tables.
add_custom_command(OUTPUT ${VELMIRE_MSVC_HOST}
  COMMAND ${VELMIRE_LLD_LINK} -nologo -subsystem:console -entry:HostMain -nodefaultlib
          -safeseh:no -out:${VELMIRE_MSVC_HOST} ${_objects} ${VELMIRE_MINGW_KERNEL32}
          ${VELMIRE_MINGW_MSVCRT} ${_extra_lib}
  DEPENDS ${_objects} ${_extra_lib}
  COMMENT "Linking the Microsoft-ABI test host"
  VERBATIM)
add_custom_target(velmire_msvc_host ALL DEPENDS ${VELMIRE_MSVC_HOST})
