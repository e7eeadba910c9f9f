#!/usr/bin/env bash
# Checks the release scripts/release.sh wrote into DIST (scripts/test.sh runs it last):
# - SHA256SUMS verifies, and lists exactly the artefacts;
# - each wheel installs offline with Debian's pip, its library in DIR/vapoursynth/plugins/;
# - the Linux wheel's library imports glibc alone, at versions its manylinux tag allows, and
#   the real VapourSynth core, copied into DIR/vapoursynth/ as VapourSynth's own wheel lays it
#   out, autoloads it and filters the demo clips to the bytes of the packaged tool;
# - the aarch64 wheel's and tarball's programs are built for aarch64 and import glibc alone at
#   versions manylinux_2_36_aarch64 allows (the tool libpng and libjpeg as well), and the tool
#   starts under qemu-aarch64;
# - the Windows wheel's and the zip's DLLs are byte for byte those the Windows tests checked;
# - the Debian package unpacks with dpkg -x and its tool runs the demo; the tarball has the
#   cmake --install layout; every artefact carries the licence;
# - a missing toolchain or frame-server header stops release.sh with one line naming it;
# - a second release.sh run (reusing the builds) gives the same checksums.
#
#   tests/release/check_release.sh DIST BUILD BUILD-WIN32 BUILD-WIN64
#
# BUILD is the Linux test build (its release_wheel_host built), BUILD-WIN32 and BUILD-WIN64 the
# Windows builds the Windows tests ran in.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
dist="$1" build="$2" win32="$3" win64="$4"
hosts_prefix="${VELMIRE_HOSTS_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/velmire-hosts}"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
linux_tag=manylinux_2_36_x86_64 arm_tag=manylinux_2_36_aarch64
pip=(/usr/bin/python3 -m pip install --quiet --disable-pip-version-check --root-user-action=ignore
     --no-index --no-deps --ignore-requires-python)

fail() { echo "check_release: $*" >&2; exit 1; }
step() { echo "-- $*"; }
same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }
present() {  # FOLDER FILE...
  local folder="$1" file; shift
  for file in "$@"; do [ -f "$folder/$file" ] || fail "$folder has no $file"; done
}

step "checksums of $dist"
expected="SHA256SUMS velmire-$version-linux-aarch64.tar.gz velmire-$version-linux-x86_64.tar.gz
velmire-$version-py3-none-$arm_tag.whl velmire-$version-py3-none-$linux_tag.whl
velmire-$version-py3-none-win_amd64.whl velmire-$version-windows.zip velmire_$version-1_amd64.deb"
[ "$(cd "$dist" && echo *)" = "$(echo $expected)" ] || fail "$dist holds $(cd "$dist" && echo *)"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not verify"
[ "$(wc -l <"$dist/SHA256SUMS")" -eq 7 ] || fail "SHA256SUMS does not list the 7 artefacts"

step "Debian package: unpacked with dpkg -x, its tool runs the demo"
deb="$dist/velmire_$version-1_amd64.deb" system="$scratch/root"
dpkg -x "$deb" "$system"
present "$system/usr" bin/velmire share/man/man1/velmire.1.gz share/doc/velmire/copyright \
  lib/x86_64-linux-gnu/avisynth/libvelmire-avisynthplus.so \
  lib/x86_64-linux-gnu/vapoursynth/libvelmire-vapoursynth.so
dpkg-deb -f "$deb" Depends | grep -q '^libc6 (>= [0-9.]*)' ||
  fail "the package's Depends lacks libc6: $(dpkg-deb -f "$deb" Depends)"
tool="$system/usr/bin/velmire"
[[ "$("$tool" --version)" == "velmire $version "* ]] || fail "the tool says $("$tool" --version)"
"$tool" --demo "$scratch/demo" >/dev/null

step "Linux tarballs (x86_64, aarch64): the cmake --install layout"
for processor in x86_64 aarch64; do
  tar -xzf "$dist/velmire-$version-linux-$processor.tar.gz" -C "$scratch"
  present "$scratch/velmire-$version-linux-$processor" bin/velmire lib/velmire/libvelmire.so \
    lib/avisynth/libvelmire-avisynthplus.so lib/vapoursynth/libvelmire-vapoursynth.so \
    share/man/man1/velmire.1.gz share/doc/velmire/{README.md,LICENSE,CHANGELOG.md,install.md}
done

step "Linux wheel: installed by pip, autoloaded by the VapourSynth core, the tool's bytes"
site="$scratch/linux-site"
"${pip[@]}" --target "$site" "$dist/velmire-$version-py3-none-$linux_tag.whl"
library="$site/vapoursynth/plugins/libvelmire-vapoursynth.so"
present "$site" vapoursynth/plugins/libvelmire-vapoursynth.so "velmire-$version.dist-info/LICENSE"
python3 "$root/tests/release/check_glibc_imports.py" "$linux_tag" "$library"
# The check itself: it refuses the test build's plug-in, which links the C++ runtime.
if python3 "$root/tests/release/check_glibc_imports.py" "$linux_tag" \
    "$build/src/vapoursynth/libvelmire-vapoursynth.so" >/dev/null 2>&1; then
  fail "the import check passes a library that links libstdc++"
fi
cp -P "$hosts_prefix"/lib/libvapoursynth*.so* "$site/vapoursynth/"
for layout in 420 422; do
  "$tool" "$scratch/demo/input-$layout.y4m" "$scratch/tool-$layout.y4m"
  "$build/tests/release/release_wheel_host" "$site/vapoursynth/libvapoursynth.so.4" \
    "$scratch/demo/input-$layout.y4m" "$scratch/wheel-$layout.y4m"
  same "$scratch/wheel-$layout.y4m" "$scratch/tool-$layout.y4m"
done

step "aarch64 wheel and tarball: pip installs the tarball's plug-in, every program's imports"
site="$scratch/arm-site" tree="$scratch/velmire-$version-linux-aarch64"
"${pip[@]}" --platform "$arm_tag" --only-binary=:all: --target "$site" \
  "$dist/velmire-$version-py3-none-$arm_tag.whl"
present "$site" "velmire-$version.dist-info/LICENSE"
same "$site/vapoursynth/plugins/libvelmire-vapoursynth.so" \
  "$tree/lib/vapoursynth/libvelmire-vapoursynth.so"
for program in "$tree"/bin/velmire "$tree"/lib/*/*.so; do
  python3 "$root/tests/release/check_glibc_imports.py" "$arm_tag" "$program" \
    $([ "$program" != "$tree/bin/velmire" ] || echo libpng16.so.16 libjpeg.so.62)
done
if python3 "$root/tests/release/check_glibc_imports.py" "$arm_tag" "$library" >/dev/null 2>&1; then
  fail "the import check passes the x86-64 library for aarch64"
fi
# With the arm64 C library of the multiarch packages, not the cross compiler's (-L): that pair
# can hang (cmake/aarch64-linux-gnu.cmake).
version_line="$(timeout -s KILL 120 qemu-aarch64 "$tree/bin/velmire" --version)"
echo "qemu-aarch64 $tree/bin/velmire --version: $version_line"
[[ "$version_line" == "velmire $version "* ]] || fail "the aarch64 tool says $version_line"

step "Windows wheel: installed by pip for win_amd64, the DLL the Windows tests checked"
site="$scratch/windows-site"
"${pip[@]}" --platform win_amd64 --only-binary=:all: --target "$site" \
  "$dist/velmire-$version-py3-none-win_amd64.whl"
present "$site" "velmire-$version.dist-info/LICENSE"
same "$site/vapoursynth/plugins/Velmire-VapourSynth-x64.dll" \
  "$win64/src/vapoursynth/Velmire-VapourSynth-x64.dll"

step "Windows zip: the DLLs the Windows tests checked, README, LICENSE, CHANGELOG"
python3 -m zipfile -e "$dist/velmire-$version-windows.zip" "$scratch/zip"
[ "$(cd "$scratch/zip" && find . -type f | sort | tr '\n' ' ')" = "./CHANGELOG.txt ./LICENSE.txt \
./README.txt ./x64/Velmire-AviSynthPlus-x64.dll ./x64/Velmire-VapourSynth-x64.dll \
./x86/Velmire-AviSynthPlus-x86.dll ./x86/Velmire.dll " ] || fail "the zip holds other files"
for pair in x64/Velmire-AviSynthPlus-x64.dll:$win64/src/avisynthplus \
    x64/Velmire-VapourSynth-x64.dll:$win64/src/vapoursynth \
    x86/Velmire-AviSynthPlus-x86.dll:$win32/src/avisynthplus x86/Velmire.dll:$win32/src/plugin; do
  same "$scratch/zip/${pair%%:*}" "${pair#*:}/$(basename "${pair%%:*}")"
done
grep -q "Velmire $version" "$scratch/zip/README.txt" || fail "the zip's README lacks the version"
grep -q "^## $version\$" "$scratch/zip/CHANGELOG.txt" || fail "CHANGELOG.md has no section $version"

step "a missing toolchain or header: one line naming it"
# Each case: what is taken away, and the words the line must hold.
shim="$scratch/bin"
mkdir "$shim"
for program in /usr/bin/* /usr/local/bin/*; do ln -sf "$program" "$shim/"; done
missing_cases=(
  "x86_64-w64-mingw32-g++-posix|package g++-mingw-w64-x86-64"
  "dpkg-shlibdeps|package dpkg-dev"
  "headers|no VapourSynth headers (VapourSynth4.h"
)
for case in "${missing_cases[@]}"; do
  taken="${case%%|*}" words="${case#*|}" path="$shim" prefix="$hosts_prefix"
  if [ "$taken" = headers ]; then
    path="$PATH" prefix="$scratch/no-hosts"
  else
    mv "$shim/$taken" "$scratch/taken"
  fi
  status=0
  env PATH="$path" PKG_CONFIG_PATH= VELMIRE_HOSTS_PREFIX="$prefix" VELMIRE_HOST_SOURCES=/none \
    VELMIRE_DIST="$scratch/no-dist" "$root/scripts/release.sh" >"$scratch/out" 2>"$scratch/err" ||
    status=$?
  [ "$taken" = headers ] || mv "$scratch/taken" "$shim/$taken"
  [ "$status" -ne 0 ] && [ "$(wc -l <"$scratch/err")" -eq 1 ] &&
    grep -qF "$words" "$scratch/err" && [ ! -s "$scratch/out" ] ||
    fail "without $taken: exit $status, said: $(cat "$scratch/out" "$scratch/err")"
done

step "a second run gives the same checksums"
VELMIRE_DIST="$scratch/again" "$root/scripts/release.sh" >/dev/null
same "$scratch/again/SHA256SUMS" "$dist/SHA256SUMS"
echo "release $version checked: $(cd "$dist" && echo velmire*)"
