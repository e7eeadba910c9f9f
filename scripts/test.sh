#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build; the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer; the concurrency tests under
# ThreadSanitizer; and each fuzz target for a bounded time.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
fuzz_seconds="${VELMIRE_FUZZ_SECONDS:-60}"
"$root/scripts/setup.sh"

configure_and_build() {
  local dir="$1"; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j"$jobs" ${VELMIRE_TARGETS:+--target $VELMIRE_TARGETS}
}

echo "== release build"
configure_and_build "$root/build" -DCMAKE_BUILD_TYPE=Release
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
  "-DVELMIRE_SANITIZE=address;undefined" -DVELMIRE_BUILD_BENCH=OFF
ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"

echo "== ThreadSanitizer (concurrency tests)"
VELMIRE_TARGETS="test_concurrency" configure_and_build "$root/build-tsan" -DCMAKE_BUILD_TYPE=Debug -DVELMIRE_SANITIZE=thread \
  -DVELMIRE_BUILD_BENCH=OFF
TSAN_OPTIONS="halt_on_error=1" ctest --test-dir "$root/build-tsan" --output-on-failure \
  -R "Concurrent|Threads"

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
