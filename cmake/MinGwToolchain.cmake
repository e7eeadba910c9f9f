# What both MinGW-w64 toolchain files share, once VELMIRE_MINGW_PREFIX names the target
# (i686-w64-mingw32 or x86_64-w64-mingw32): the posix thread-model compilers (the win32 ones have
# no std::thread or std::mutex), and everything linked statically, so the libraries and the test
# programs import system DLLs alone and need no MinGW runtime beside them. No link time goes into
# the images, so a build from the same sources gives the same bytes (releases are reproducible).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${VELMIRE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMIRE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMIRE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELMIRE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")

# Windows programs of the build (the tests) run under Wine; see cmake/WindowsBuild.cmake for
# the Wine settings and the rest of what the Windows build adds after project().
set(CMAKE_PROJECT_Velmire_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/WindowsBuild.cmake)
