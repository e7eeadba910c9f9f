#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build and run the tool ("demo", the default); what
# scripts/release.sh needs as well ("release": MinGW-w64 for the Windows DLLs, the aarch64 cross
# compiler with the arm64 libraries and qemu-user for the aarch64 build, dpkg-dev for the
# package's dependencies, Python and pip for the wheels); or everything the full test suite
# needs ("test": the release's, ffmpeg as the interop peer, GNU parallel for the segments
# recipe, clang for the fuzzers and the Windows test host, Wine for the 32- and 64-bit Windows
# builds, the arm64 test libraries).
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
apt="$(dirname "$0")/apt.sh"

core=(cmake ninja-build g++ make pkg-config libpng-dev libjpeg-dev libgtest-dev libbenchmark-dev)
# The release's and the tests' builds of the frame servers need libzimg-dev and patch too;
# installed here, through the retrying apt.sh, so the frame servers' own script has nothing
# left to fetch.
release=(g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
         binutils-mingw-w64-x86-64 g++-aarch64-linux-gnu qemu-user libc6:arm64 libstdc++6:arm64
         libpng-dev:arm64 libjpeg-dev:arm64 zlib1g-dev:arm64 dpkg-dev python3 python3-pip git
         libzimg-dev patch)
tests=("${release[@]}" ffmpeg parallel clang libclang-rt-14-dev lld llvm-14 googletest
       libgtest-dev:arm64 libbenchmark-dev:arm64)
wine=(wine wine32:i386 wine64)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing_of() { local p; for p in "$@"; do installed "$p" || echo "$p"; done; }

missing_core=($(missing_of "${core[@]}"))
missing_tests=()
missing_wine=()
if [ "${1:-demo}" = release ]; then
  missing_tests=($(missing_of "${release[@]}"))
elif [ "${1:-demo}" = test ]; then
  missing_tests=($(missing_of "${tests[@]}"))
  missing_wine=($(missing_of "${wine[@]}"))
  # Wine's 32-bit half needs the i386 architecture.
  if [ "${#missing_wine[@]}" -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
fi
# The aarch64 build's libraries need the arm64 architecture.
if printf '%s\n' "${missing_tests[@]}" | grep -q ':arm64$' &&
    ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $SUDO dpkg --add-architecture arm64
fi

if [ $(( ${#missing_core[@]} + ${#missing_tests[@]} + ${#missing_wine[@]} )) -gt 0 ]; then
  "$apt" update
  if [ $(( ${#missing_core[@]} + ${#missing_tests[@]} )) -gt 0 ]; then
    "$apt" install --no-install-recommends "${missing_core[@]}" "${missing_tests[@]}"
  fi
  if [ "${#missing_wine[@]}" -gt 0 ] && ! "$apt" install "${missing_wine[@]}"; then
    # Wine's 32-bit half needs i386 libraries of the same versions as the machine's own; when
    # the package lists cannot give them (a mirror's i386 list out of step), the 64-bit Wine is
    # installed alone and scripts/test.sh says which tests that leaves out.
    echo "== setup: wine32:i386 cannot be installed from these package lists; 64-bit Wine only" >&2
    "$apt" install $(printf '%s\n' "${missing_wine[@]}" | grep -v ':i386$')
  fi
fi
