# What the Windows cross builds add right after project(Velmire); the toolchain files
# cmake/mingw-w64-i686.cmake and cmake/mingw-w64-x86_64.cmake include it.
#
# - Test programs run under Wine (a 32-bit prefix and wine, or for the 64-bit build a 64-bit
#   prefix and wine64; no debug chatter) through cmake/wine_run.sh. The prefix is
#   VELMIRE_WINEPREFIX, by default $WINEPREFIX at configure time or one inside the build tree.
#   Every ctest run first prepares it (creates it, starts its server and services outside
#   ctest) before test discovery runs the first program, so `ctest --test-dir build-win32` (or
#   build-win64) works by itself; the server ends a minute after the last program, or at once
#   with `wineserver -k`.
# - GoogleTest is built from Debian's source package when no MinGW build of it is installed.
# - The command-line tool and the benchmark, which need libraries that have no MinGW build
#   here, are left out unless asked for.

set(VELMIRE_BUILD_TOOLS OFF CACHE BOOL "Build the host library and the command-line tool")
set(VELMIRE_BUILD_BENCH OFF CACHE BOOL "Build the benchmark program")

if(NOT DEFINED VELMIRE_WINEPREFIX)
  if(DEFINED ENV{WINEPREFIX})
    set(_velmire_default_prefix $ENV{WINEPREFIX})
  else()
    set(_velmire_default_prefix ${CMAKE_BINARY_DIR}/wineprefix)
  endif()
  set(VELMIRE_WINEPREFIX ${_velmire_default_prefix} CACHE PATH "Wine prefix for tests")
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_velmire_winearch win64)
  find_program(VELMIRE_WINE wine64 PATHS /usr/lib/wine)
else()
  set(_velmire_winearch win32)
  find_program(VELMIRE_WINE wine)
endif()
# OFF builds the test programs but registers only the checks that run no Windows program (the
# DLLs' images): for machines that cannot run them, such as virtual machines whose kernel runs
# 64-bit code only, where the 32-bit Wine cannot start.
option(VELMIRE_RUN_WINDOWS_PROGRAMS "Run the Windows build's test programs under Wine" ON)
if(VELMIRE_RUN_WINDOWS_PROGRAMS AND VELMIRE_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(VELMIRE_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh)
  set(_velmire_wine_args ${VELMIRE_WINEPREFIX} ${_velmire_winearch} ${VELMIRE_WINE})
  set(CMAKE_CROSSCOMPILING_EMULATOR sh ${VELMIRE_WINE_RUN} ${_velmire_wine_args})
  # ctest reads this before any test folder, so the prefix is ready before test discovery.
  set(_velmire_wine_setup ${CMAKE_BINARY_DIR}/wine_setup.cmake)
  file(WRITE ${_velmire_wine_setup}
       "execute_process(COMMAND sh [==[${VELMIRE_WINE_RUN}]==] [==[${VELMIRE_WINEPREFIX}]==] "
       "${_velmire_winearch} [==[${VELMIRE_WINE}]==])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_velmire_wine_setup})
endif()

# The 64-bit build tests only its plug-in DLLs, with programs of their own (no GoogleTest).
if((NOT DEFINED VELMIRE_BUILD_TESTS OR VELMIRE_BUILD_TESTS) AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  find_package(GTest QUIET)
  set(VELMIRE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
  if(NOT TARGET GTest::gtest AND EXISTS ${VELMIRE_GTEST_SOURCE}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VELMIRE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # The test folders ask for GTest with find_package: a package file that reports the
    # targets just built makes that request succeed.
    set(_velmire_gtest_dir ${CMAKE_BINARY_DIR}/googletest-package)
    file(WRITE ${_velmire_gtest_dir}/GTestConfig.cmake
         "# GoogleTest built from source inside this build tree.\nset(GTest_FOUND TRUE)\n")
    set(GTest_DIR ${_velmire_gtest_dir} CACHE PATH "GoogleTest package of the cross build" FORCE)
  endif()
endif()
