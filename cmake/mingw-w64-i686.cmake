# Cross-compiles for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686).
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
#
# The posix thread-model compilers are used because the win32 ones have no std::thread or
# std::mutex. Everything is linked statically, so the plug-in library and the test programs
# import only KERNEL32.dll and msvcrt.dll and need no MinGW runtime libraries beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VELMIRE_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VELMIRE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMIRE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMIRE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMIRE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

# Windows programs of the build (the tests) run under Wine; see cmake/WindowsBuild.cmake for
# the Wine settings and the rest of what the Windows build adds after project().
set(CMAKE_PROJECT_Velmire_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/WindowsBuild.cmake)
