#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build; the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer; the concurrency tests under
# ThreadSanitizer; each fuzz target for a bounded time; and the 32-bit Windows build under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
fuzz_seconds="${VELMIRE_FUZZ_SECONDS:-60}"
"$root/scripts/setup.sh" test

# Tests are turned on whatever an earlier configure (such as scripts/demo.sh) left in the cache,
# and every ctest call fails when it finds no test to run.
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$root" -B "$dir" -G Ninja -DVELMIRE_BUILD_TESTS=ON "$@"
  cmake --build "$dir" -j"$jobs" ${VELMIRE_TARGETS:+--target $VELMIRE_TARGETS}
}

echo "== release build"
configure_and_build "$root/build" -DCMAKE_BUILD_TYPE=Release
ctest --no-tests=error --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
  "-DVELMIRE_SANITIZE=address;undefined" -DVELMIRE_BUILD_BENCH=OFF
ctest --no-tests=error --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

echo "== ThreadSanitizer (concurrency tests)"
VELMIRE_TARGETS="test_concurrency" configure_and_build "$root/build-tsan" -DCMAKE_BUILD_TYPE=Debug -DVELMIRE_SANITIZE=thread \
  -DVELMIRE_BUILD_BENCH=OFF
TSAN_OPTIONS="halt_on_error=1" ctest --no-tests=error --test-dir "$root/build-tsan" \
  --output-on-failure -R "Concurrent|Threads"

echo "== fuzzing, ${fuzz_seconds}s per target"
VELMIRE_TARGETS="$(cd "$root/tests/fuzz/corpus" && echo *)" CXX=clang++ \
  configure_and_build "$root/build-fuzz" -DCMAKE_BUILD_TYPE=Debug \
  "-DVELMIRE_SANITIZE=address;undefined;fuzzer-no-link" -DVELMIRE_BUILD_FUZZERS=ON \
  -DVELMIRE_BUILD_BENCH=OFF
for corpus in "$root"/tests/fuzz/corpus/*/; do
  target="$(basename "$corpus")"
  work="$root/build-fuzz/corpus-$target"
  mkdir -p "$work"
  log="$root/build-fuzz/$target.log"
  if ! "$root/build-fuzz/tests/fuzz/$target" -max_total_time="$fuzz_seconds" \
      -print_final_stats=1 "$work" "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz target $target found a fault" >&2
    exit 1
  fi
  echo "$target: $(grep -E "stat::number_of_executed_units" "$log" || echo "no stats")"
done

echo "== 32-bit Windows build, tests under Wine"
export WINEARCH=win32 WINEDEBUG=-all WINEPREFIX="$root/build-win32/wineprefix"
configure_and_build "$root/build-win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake"
mkdir -p "$WINEPREFIX"
setsid wineserver -p </dev/null >/dev/null 2>&1 &
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Start Wine's services outside ctest, whose output pipes they would otherwise hold open.
wine wineboot </dev/null >/dev/null 2>&1
ctest --no-tests=error --test-dir "$root/build-win32" --output-on-failure -j"$jobs" --timeout 300
