#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build, then the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/setup.sh"

run_suite() {
  local dir="$1"; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

run_suite "$root/build" -DCMAKE_BUILD_TYPE=Release
run_suite "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug "-DVELMIRE_SANITIZE=address;undefined" \
  -DVELMIRE_BUILD_BENCH=OFF
