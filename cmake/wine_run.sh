#!/bin/sh
# Runs a Windows program of the build under Wine, for ctest and for its test discovery:
#
#   wine_run.sh PREFIX WINEARCH WINE [PROGRAM [ARGUMENTS...]]
#
# (WINEARCH win32 with wine, or win64 with wine64.) First makes sure that the Wine prefix
# PREFIX exists and that its server and services
# run: when no server runs for the prefix, one is started that stays for a minute after its
# last program, and the prefix is created or updated and its services started, all detached
# from this script's output. (Services started by a program under ctest would hold ctest's
# output pipe open, and creating a prefix takes longer than test discovery may.) Without a
# PROGRAM it does only that.
set -eu
prefix="$1" arch="$2" wine="$3"
shift 3
export WINEARCH="$arch" WINEDEBUG=-all WINEPREFIX="$prefix"
mkdir -p "$prefix"
(
  # One setup at a time (ctest runs tests in parallel); Wine's processes do not inherit the lock.
  flock 9
  if setsid wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$prefix/.velmire-setup-lock"
if [ "$#" -gt 0 ]; then
  exec "$wine" "$@"
fi
