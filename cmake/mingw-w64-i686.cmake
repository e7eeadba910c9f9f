# Cross-compiles for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686): the 2.5
# plug-in Velmire.dll, its tests, and the 32-bit AviSynth+ plug-in.
#
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VELMIRE_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGwToolchain.cmake)
