#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build; the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer; the concurrency tests under
# ThreadSanitizer; each fuzz target for a bounded time; the aarch64 cross build with its tests
# under qemu (the frame-server plug-ins' tests left, said in one line); the 32-bit Windows
# build under Wine (where 32-bit programs cannot run or wine32 cannot be installed, its DLLs'
# images only, said in one line); the 64-bit Windows build of the frame-server plug-ins, their
# DLLs checked under Wine;
# and the release: scripts/release.sh from scratch, its artefacts checked
# (tests/release/check_release.sh).
# The VapourSynth and AviSynth+ plug-ins are tested in the real frame servers, built first from
# VELMIRE_HOST_SOURCES (default ../shared/hosts beside the clone) into VELMIRE_HOSTS_PREFIX
# (default ${XDG_CACHE_HOME:-$HOME/.cache}/velmire-hosts; a later run reuses them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
fuzz_seconds="${VELMIRE_FUZZ_SECONDS:-60}"
"$root/scripts/setup.sh" test

# The real frame servers. With their sources the plug-ins are required (ON), so their tests can
# never go missing unnoticed; without, frame servers already built are used, or the tests are
# skipped with one line.
hosts_prefix="${VELMIRE_HOSTS_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/velmire-hosts}"
host_sources="${VELMIRE_HOST_SOURCES:-$root/../shared/hosts}"
host_options=() host_tests="" skipped=""
if [ -x "$host_sources/build-hosts.sh" ]; then
  echo "== frame servers from $host_sources into $hosts_prefix"
  "$host_sources/build-hosts.sh" "$hosts_prefix"
fi
for host in vapoursynth:vapoursynth:VAPOURSYNTH avisynth:avisynthplus:AVISYNTHPLUS; do
  IFS=: read -r module name option <<<"$host"
  if [ -x "$host_sources/build-hosts.sh" ] || [ -f "$hosts_prefix/lib/pkgconfig/$module.pc" ]; then
    host_options+=("-DVELMIRE_$option=ON") host_tests+=" test_$name"
  else
    host_options+=("-DVELMIRE_$option=OFF") skipped+="${skipped:+ and }$name"
  fi
done
[ -z "$skipped" ] || echo "== SKIPPED: the $skipped plug-in tests (no frame server in" \
  "$hosts_prefix, no sources in $host_sources; see VELMIRE_HOSTS_PREFIX, VELMIRE_HOST_SOURCES)"
export PKG_CONFIG_PATH="$hosts_prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"

# Shows that the frame-server tests of build folder $1 ran: ctest runs every test it lists (or,
# in the ThreadSanitizer stage, those of the suites $2).
host_tests_ran() {
  local name suites count
  for name in $host_tests; do
    case $name in test_vapoursynth) suites=VapourSynth ;; *) suites=AviSynthPlus ;; esac
    count=$(ctest --test-dir "$1" -N -R "^(Formats/)?$suites${2:-(Plugin|Threads|Output)}\\." |
            sed -n 's/^Total Tests: //p')
    echo "$name: ${count:-0} tests of the plug-in in the real frame server"
    [ "${count:-0}" -gt 0 ] || { echo "$name ran no tests" >&2; return 1; }
  done
}

# Tests are turned on whatever an earlier configure (such as scripts/demo.sh) left in the cache,
# and every ctest call fails when it finds no test to run.
configure_and_build() {
  local dir="$1"; shift
  cmake -S "$root" -B "$dir" -G Ninja -DVELMIRE_BUILD_TESTS=ON "$@"
  cmake --build "$dir" -j"$jobs" ${VELMIRE_TARGETS:+--target $VELMIRE_TARGETS}
}

echo "== release build"
configure_and_build "$root/build" -DCMAKE_BUILD_TYPE=Release "${host_options[@]}"
ctest --no-tests=error --test-dir "$root/build" --output-on-failure -j"$jobs"
host_tests_ran "$root/build"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
configure_and_build "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
  "-DVELMIRE_SANITIZE=address;undefined" -DVELMIRE_BUILD_BENCH=OFF "${host_options[@]}"
ctest --no-tests=error --test-dir "$root/build-asan" --output-on-failure -j"$jobs"
host_tests_ran "$root/build-asan"

echo "== ThreadSanitizer (concurrency tests)"
# Every program holding tests that "Concurrent|Threads" selects is built here.
VELMIRE_TARGETS="test_concurrency$host_tests" configure_and_build "$root/build-tsan" \
  -DCMAKE_BUILD_TYPE=Debug -DVELMIRE_SANITIZE=thread -DVELMIRE_BUILD_BENCH=OFF "${host_options[@]}"
TSAN_OPTIONS="halt_on_error=1" ctest --no-tests=error --test-dir "$root/build-tsan" --output-on-failure \
  -R "Concurrent|Threads"
host_tests_ran "$root/build-tsan" Threads

echo "== fuzzing, ${fuzz_seconds}s per target"
VELMIRE_TARGETS="$(cd "$root/tests/fuzz/corpus" && echo *)" CXX=clang++ \
  configure_and_build "$root/build-fuzz" -DCMAKE_BUILD_TYPE=Debug \
  "-DVELMIRE_SANITIZE=address;undefined;fuzzer-no-link" -DVELMIRE_BUILD_FUZZERS=ON \
  -DVELMIRE_BUILD_BENCH=OFF -DVELMIRE_VAPOURSYNTH=OFF -DVELMIRE_AVISYNTHPLUS=OFF
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

echo "== aarch64 build, tests under qemu"
# Cross-built with Debian's aarch64 compiler; ctest starts every test program under
# qemu-aarch64, and the tool's tests start the tool through it, so no binfmt registration is
# needed. Both frame-server plug-ins are built and their exports checked. The settings sweep's
# run (a minute of measuring natively, the same bytes as the demo digests check) is left to the
# native stages.
if [ -n "$host_tests" ]; then
  echo "== SKIPPED: the aarch64 frame-server plug-ins' tests: the frame servers are not built" \
    "for aarch64, so nothing loads the plug-ins"
fi
configure_and_build "$root/build-aarch64" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" -DVELMIRE_BUILD_BENCH=OFF \
  "${host_options[@]}"
ctest --no-tests=error --test-dir "$root/build-aarch64" --output-on-failure -j"$jobs" --timeout 900 \
  -E '^SweepRun\.'

echo "== 32-bit Windows build, tests under Wine"
export WINEARCH=win32 WINEDEBUG=-all WINEPREFIX="$root/build-win32/wineprefix"
# Some virtual machines' kernels run 64-bit code only, and the 32-bit Wine cannot start there:
# the build is then made and its DLLs' images checked, and the line below says what was left.
run_windows_32=ON
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  run_windows_32=OFF
  echo "== SKIPPED: the 32-bit Windows test programs under Wine: this machine runs no 32-bit" \
    "x86 programs (its kernel's IA-32 emulation is off); the DLLs are built and their images checked"
elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  run_windows_32=OFF
  echo "== SKIPPED: the 32-bit Windows test programs under Wine: wine32:i386 could not be" \
    "installed (see the set-up's lines above); the DLLs are built and their images checked"
fi
configure_and_build "$root/build-win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
  -DVELMIRE_RUN_WINDOWS_PROGRAMS=$run_windows_32 \
  $(printf '%s\n' "${host_options[@]}" | grep AVISYNTHPLUS)  # the x86 AviSynth+ DLL
# ctest prepares the Wine prefix and its services itself (cmake/wine_run.sh); stop them after.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
ctest --no-tests=error --test-dir "$root/build-win32" --output-on-failure -j"$jobs" --timeout 300

echo "== 64-bit Windows build of the frame-server plug-ins, tests under Wine"
if [ -z "$host_tests" ]; then
  echo "== SKIPPED: no frame server headers for the 64-bit Windows plug-ins"
else
  wineserver -k >/dev/null 2>&1 || true  # the 32-bit prefix's server
  export WINEARCH=win64 WINEPREFIX="$root/build-win64/wineprefix"
  configure_and_build "$root/build-win64" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "${host_options[@]}"
  ctest --no-tests=error --test-dir "$root/build-win64" --output-on-failure -j"$jobs" --timeout 300
fi

echo "== release: scripts/release.sh, its artefacts installed, run and compared"
if [ -z "$host_tests" ]; then
  echo "== SKIPPED: the release needs both frame servers' headers"
else
  cmake --build "$root/build" -j"$jobs" --target release_wheel_host
  "$root/scripts/release.sh" --clean
  "$root/tests/release/check_release.sh" "$root/dist" "$root/build" "$root/build-win32" \
    "$root/build-win64"
fi
