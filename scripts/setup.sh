#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tool and the tests need.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

packages=(cmake ninja-build g++ make pkg-config libgtest-dev libbenchmark-dev libpng-dev ffmpeg
          clang libclang-rt-14-dev lld)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
