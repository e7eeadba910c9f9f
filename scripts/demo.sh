#!/usr/bin/env bash
# Sets up, builds and runs the tool on its built-in demo clip (written to ./velmire-demo).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMIRE_BUILD_TESTS=OFF
cmake --build "$root/build" -j"$(nproc)" --target velmire_cli
"$root/build/src/tool/velmire" --demo "${1:-$root/velmire-demo}"
