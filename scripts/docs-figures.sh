#!/usr/bin/env bash
# Remakes the figures under docs/ with the tool itself: the before/after picture (frame 30 of
# the demo clip filtered at the recommended settings, as --compare draws it, reduced to a small
# palette with pngquant) and the sweep's chart of the built-in grid, with noise on the composite
# signal as the tables in docs/settings.md. Builds the tool first, as
# demo.sh does; the sweep takes a minute or two.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
if ! command -v pngquant >/dev/null; then
  "$root/scripts/apt.sh" install --no-install-recommends pngquant
fi
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$root/build" -j"$(nproc)" --target velmire_cli
velmire="$root/build/src/tool/velmire"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$velmire" --demo "$work" >/dev/null
"$velmire" --threshold-y 10 --noise 200 --margin 4 --mode 1 --compare "30:$work/compare.png" \
  "$work/input-422.y4m" /dev/null
pngquant --quality=60-90 --speed 1 --force --output "$root/docs/demo-before-after.png" \
  "$work/compare.png"
"$velmire" --demo "$work" --sweep --sweep-noise 2 >/dev/null
cp "$work/sweep-chart.svg" "$root/docs/sweep-chart.svg"
ls -l "$root/docs/demo-before-after.png" "$root/docs/sweep-chart.svg"
