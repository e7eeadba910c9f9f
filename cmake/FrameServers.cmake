# The real frame servers the native plug-ins are built against, found with pkg-config.
#
#   VELMIRE_VAPOURSYNTH   (pkg-config module "vapoursynth")  AUTO, ON or OFF
#   VELMIRE_AVISYNTHPLUS  (pkg-config module "avisynth")     AUTO, ON or OFF
#
# AUTO builds a plug-in when its frame server is found (and not when cross-compiling: the
# pkg-config files found would be the build machine's); ON stops the configure when it is not
# found; OFF never builds it. Sets VELMIRE_WITH_VAPOURSYNTH / VELMIRE_WITH_AVISYNTHPLUS and
# defines, for the ones found:
#   velmire::vapoursynth_headers  the API headers alone (a VapourSynth plug-in links no library)
#   velmire::vapoursynth          headers and libvapoursynth (for the test host)
#   velmire::avisynthplus_headers the API headers alone (the AviSynth+ plug-in links no library)
#   velmire::avisynthplus         headers and libavisynth (for the test host)
# In a Windows build, or a Linux build for another processor (both cross-compiled, so ON is
# needed), velmire::vapoursynth and velmire::avisynthplus are the headers alone: pkg-config
# gives their folders (--cflags-only-I), while its Libs line names the build machine's library,
# which must not reach the target's link. The plug-ins link nothing of their frame server (the
# AviSynth+ one loads the C interface at run time). The Windows VapourSynth plug-in is built
# for x86-64 only.
# The frame servers come from ../shared/hosts/build-hosts.sh PREFIX. pkg-config looks in
# PREFIX/lib/pkgconfig for VELMIRE_HOSTS_PREFIX (default: the environment variable of that name,
# else ${XDG_CACHE_HOME:-$HOME/.cache}/velmire-hosts, where scripts/test.sh builds them) besides
# PKG_CONFIG_PATH.

set(VELMIRE_VAPOURSYNTH AUTO CACHE STRING "Build the VapourSynth plug-in: AUTO, ON or OFF")
set(VELMIRE_AVISYNTHPLUS AUTO CACHE STRING "Build the AviSynth+ plug-in: AUTO, ON or OFF")
set_property(CACHE VELMIRE_VAPOURSYNTH VELMIRE_AVISYNTHPLUS PROPERTY STRINGS AUTO ON OFF)

if(DEFINED ENV{VELMIRE_HOSTS_PREFIX})
  set(_velmire_hosts_prefix "$ENV{VELMIRE_HOSTS_PREFIX}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(_velmire_hosts_prefix "$ENV{XDG_CACHE_HOME}/velmire-hosts")
else()
  set(_velmire_hosts_prefix "$ENV{HOME}/.cache/velmire-hosts")
endif()
set(VELMIRE_HOSTS_PREFIX "${_velmire_hosts_prefix}" CACHE PATH
    "Where build-hosts.sh installed the frame servers (searched after PKG_CONFIG_PATH)")

find_package(PkgConfig QUIET)

# velmire_find_frame_server(OPTION MODULE TARGET): sets VELMIRE_WITH_<name of OPTION without
# VELMIRE_> and, when found, the imported target velmire::TARGET.
function(velmire_find_frame_server option module target)
  string(REPLACE "VELMIRE_" "VELMIRE_WITH_" result ${option})
  set(${result} OFF PARENT_SCOPE)
  string(TOUPPER "${${option}}" mode)
  if(mode STREQUAL "AUTO")
    if(CMAKE_CROSSCOMPILING)
      message(STATUS "${option}: AUTO does not look for ${module} when cross-compiling")
      return()
    endif()
    set(required FALSE)
  elseif(${option})
    set(required TRUE)
  else()
    message(STATUS "${option}: OFF")
    return()
  endif()

  set(reason "")
  if(WIN32 AND target STREQUAL "vapoursynth" AND NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(reason "the VapourSynth plug-in is built for x86-64 Windows only")
  endif()
  if(reason)
    if(required)
      message(FATAL_ERROR "${option}=ON: ${reason}")
    endif()
    message(STATUS "${option}: AUTO, not building its plug-in: ${reason}")
    return()
  endif()

  if(PKG_CONFIG_FOUND)
    list(APPEND CMAKE_PREFIX_PATH "${VELMIRE_HOSTS_PREFIX}")  # this function's copy only
    if(WIN32 OR CMAKE_CROSSCOMPILING)
      pkg_check_modules(VELMIRE_PC_${target} QUIET ${module})
    else()
      pkg_check_modules(VELMIRE_PC_${target} QUIET IMPORTED_TARGET GLOBAL ${module})
    endif()
  endif()
  if(NOT VELMIRE_PC_${target}_FOUND)
    set(hint "pkg-config finds no '${module}' in PKG_CONFIG_PATH='$ENV{PKG_CONFIG_PATH}' nor "
             "in VELMIRE_HOSTS_PREFIX='${VELMIRE_HOSTS_PREFIX}'. Build it with "
             "../shared/hosts/build-hosts.sh PREFIX.")
    if(required)
      message(FATAL_ERROR "${option}=ON: " ${hint} " Or set ${option}=OFF.")
    endif()
    message(STATUS "${option}: AUTO, not building its plug-in: " ${hint})
    return()
  endif()

  if(WIN32 OR CMAKE_CROSSCOMPILING)
    add_library(velmire_${target}_include INTERFACE)
    target_include_directories(velmire_${target}_include SYSTEM INTERFACE
                               ${VELMIRE_PC_${target}_INCLUDE_DIRS})
    add_library(velmire::${target} ALIAS velmire_${target}_include)
  else()
    add_library(velmire::${target} ALIAS PkgConfig::VELMIRE_PC_${target})
  endif()
  message(STATUS "${option}: building its plug-in against ${module} "
                 "${VELMIRE_PC_${target}_VERSION} (${VELMIRE_PC_${target}_PREFIX})")
  set(${result} ON PARENT_SCOPE)
endfunction()

velmire_find_frame_server(VELMIRE_VAPOURSYNTH vapoursynth vapoursynth)
if(VELMIRE_WITH_VAPOURSYNTH)
  add_library(velmire_vapoursynth_headers INTERFACE)
  target_include_directories(velmire_vapoursynth_headers SYSTEM INTERFACE
                             ${VELMIRE_PC_vapoursynth_INCLUDE_DIRS})
  add_library(velmire::vapoursynth_headers ALIAS velmire_vapoursynth_headers)
endif()

velmire_find_frame_server(VELMIRE_AVISYNTHPLUS avisynth avisynthplus)
if(VELMIRE_WITH_AVISYNTHPLUS)
  add_library(velmire_avisynthplus_headers INTERFACE)
  target_include_directories(velmire_avisynthplus_headers SYSTEM INTERFACE
                             ${VELMIRE_PC_avisynthplus_INCLUDE_DIRS})
  add_library(velmire::avisynthplus_headers ALIAS velmire_avisynthplus_headers)
endif()
