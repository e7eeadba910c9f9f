#!/usr/bin/env bash
# Builds the release from this checkout into dist/ (VELMIRE_DIST): the VapourSynth wheels (Linux
# x86-64 and aarch64, Windows), the Windows zip, the Linux tarballs (x86-64 and aarch64), the
# Debian package (amd64), and SHA256SUMS over them.
# Two runs from the same commit give the same bytes: SOURCE_DATE_EPOCH is the commit's time, and
# every archive holds its files in name order, with that time, owner root and fixed permissions.
#
#   ./scripts/release.sh [--clean]
#
# The builds go into build-release/ (VELMIRE_RELEASE_BUILDS): a later run builds only what
# changed, --clean starts them afresh. The frame servers' headers come from pkg-config, in
# VELMIRE_HOSTS_PREFIX (default ${XDG_CACHE_HOME:-$HOME/.cache}/velmire-hosts) or
# PKG_CONFIG_PATH; when they are missing and the frame servers' sources are there
# (VELMIRE_HOST_SOURCES, default ../shared/hosts beside the clone), they are built first, as
# scripts/test.sh does. `./scripts/setup.sh release` installs the Debian packages it needs; a
# missing package, or headers without sources, are named in one line.
#
# Each artefact is a function taking its platform; a platform is one line of the tables below.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dist="${VELMIRE_DIST:-$root/dist}"
builds="${VELMIRE_RELEASE_BUILDS:-$root/build-release}"
hosts_prefix="${VELMIRE_HOSTS_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/velmire-hosts}"
host_sources="${VELMIRE_HOST_SOURCES:-$root/../shared/hosts}"
export PKG_CONFIG_PATH="$hosts_prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
export LC_ALL=C TZ=UTC
umask 022
jobs="$(nproc)"

# Linux: name, multiarch folder, Debian architecture, wheel platform tag, CMake toolchain file
# (- for the build machine's own compiler). Each gives a tarball and a wheel; the build machine's
# own also the Debian package, whose dependencies dpkg-shlibdeps reads from this machine's.
linux_platforms=(
  "x86_64 x86_64-linux-gnu amd64 manylinux_2_36_x86_64 -"
  "aarch64 aarch64-linux-gnu arm64 manylinux_2_36_aarch64 cmake/aarch64-linux-gnu.cmake"
)
# Windows: name, CMake toolchain file, the frame-server plug-ins built.
windows_platforms=(
  "x64 cmake/mingw-w64-x86_64.cmake VAPOURSYNTH;AVISYNTHPLUS"
  "x86 cmake/mingw-w64-i686.cmake AVISYNTHPLUS"
)

fail() { echo "release.sh: $*" >&2; exit 1; }

# require PROGRAM PACKAGE: PROGRAM is on the PATH, or one line says which package gives it.
require() {
  command -v "$1" >/dev/null 2>&1 ||
    fail "$1 not found: install the Debian package $2 (./scripts/setup.sh release)"
}
# headers_found MODULE HEADER: pkg-config finds MODULE, whose include folder has HEADER.
headers_found() {
  local folder
  folder="$(pkg-config --variable=includedir "$1" 2>/dev/null)" && [ -f "$folder/$2" ]
}
# require_headers MODULE HEADER NAME: the headers are found, or the frame server is built from
# its sources when they are there.
require_headers() {
  headers_found "$1" "$2" && return
  [ -x "$host_sources/build-hosts.sh" ] ||
    fail "no $3 headers ($2 of pkg-config module $1): build them with" \
         "../shared/hosts/build-hosts.sh $hosts_prefix, or set VELMIRE_HOSTS_PREFIX"
  echo "== frame servers from $host_sources into $hosts_prefix"
  "$host_sources/build-hosts.sh" "$hosts_prefix"
  headers_found "$1" "$2" || fail "build-hosts.sh gave no $3 headers ($2) in $hosts_prefix"
}

check_requirements() {
  local pair
  for pair in git:git cmake:cmake ninja:ninja-build g++:g++ pkg-config:pkg-config \
      python3:python3 gzip:gzip tar:tar dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev \
      x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64 \
      x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64 \
      i686-w64-mingw32-g++-posix:g++-mingw-w64-i686 \
      i686-w64-mingw32-windres:binutils-mingw-w64-i686 \
      aarch64-linux-gnu-g++:g++-aarch64-linux-gnu qemu-aarch64:qemu-user; do
    require "${pair%%:*}" "${pair#*:}"
  done
  local platform name multiarch arch
  for platform in "${linux_platforms[@]}"; do
    read -r name multiarch arch _ <<<"$platform"
    PKG_CONFIG_LIBDIR="/usr/lib/$multiarch/pkgconfig" pkg-config --exists libpng libjpeg ||
      fail "no libpng or libjpeg for $name: install the Debian packages libpng-dev:$arch and" \
        "libjpeg-dev:$arch (./scripts/setup.sh release)"
  done
  require_headers vapoursynth VapourSynth4.h VapourSynth
  require_headers avisynth avisynth_c.h AviSynth+
  git -C "$root" rev-parse --verify -q HEAD >/dev/null || fail "$root is not a git checkout"
}

# build NAME CMAKE-OPTION...: the release build NAME, without tests or benchmark.
build() {
  local dir="$builds/$1"; shift
  echo "== building $(basename "$dir")"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMIRE_BUILD_TESTS=OFF \
    -DVELMIRE_BUILD_BENCH=OFF "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log" >&2; fail "configuring $dir failed"; }
  cmake --build "$dir" -j"$jobs" -- --quiet
}

# fix_times_and_modes DIR: folders and programs 755, other files 644, every time the commit's.
fix_times_and_modes() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f -exec chmod 644 {} +
  find "$1" -type f -path '*/bin/*' -exec chmod 755 {} +
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# install_tree BUILD PREFIX [DESTDIR]: the build's cmake --install tree, stripped.
install_tree() {
  rm -rf "${3:-$2}"
  DESTDIR="${3:-}" cmake --install "$1" --prefix "$2" --strip >/dev/null
  fix_times_and_modes "${3:-$2}"
}

# tar_gz OUT DIR NAME: DIR/NAME as a gzip-compressed tar archive, in name order, owner root.
tar_gz() {
  tar -C "$2" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --format=gnu -cf - "$3" | gzip -9n >"$1"
}

build_linux() {  # NAME TOOLCHAIN
  local options=()
  [ "$2" = - ] || options+=("-DCMAKE_TOOLCHAIN_FILE=$root/$2")
  build "linux-$1" "${options[@]}" -DVELMIRE_VAPOURSYNTH=ON -DVELMIRE_AVISYNTHPLUS=ON \
    -DVELMIRE_STATIC_RUNTIME=ON
}

# velmire-V-linux-NAME.tar.gz: the cmake --install tree (bin, lib, share) in one folder.
linux_tarball() {  # NAME
  local top="velmire-$version-linux-$1"
  install_tree "$builds/linux-$1" "$work/$top"
  tar_gz "$dist/$top.tar.gz" "$work" "$top"
}

# The VapourSynth plug-in of the tarball's tree, as a wheel.
linux_wheel() {  # NAME TAG
  python3 "$root/scripts/release/pack.py" wheel "$dist" "$version" "$2" \
    "$work/velmire-$version-linux-$1/lib/vapoursynth/libvelmire-vapoursynth.so" \
    "$root/README.md" "$root/LICENSE"
}

# The Debian package's dependencies, by dpkg-shlibdeps from the libraries its programs link.
deb_depends() {  # STAGE
  local scratch="$work/shlibdeps"
  mkdir -p "$scratch/debian"
  printf 'Source: velmire\n\nPackage: velmire\nArchitecture: any\n' >"$scratch/debian/control"
  (cd "$scratch" && find "$1" -type f \( -path '*/bin/*' -o -name '*.so' \) -print0 | sort -z |
     xargs -0 dpkg-shlibdeps -O 2>/dev/null) | sed -n 's/^shlibs:Depends=//p'
}

# velmire_V-1_ARCH.deb: the install tree under /usr, the libraries in the multiarch folder
# (where frame servers installed in /usr look), the licence as Debian's copyright file.
linux_deb() {  # NAME MULTIARCH ARCH
  local stage="$work/deb-$1" depends
  install_tree "$builds/linux-$1" /usr "$stage"
  mv "$stage/usr/lib" "$stage/usr/$2"
  mkdir "$stage/usr/lib"
  mv "$stage/usr/$2" "$stage/usr/lib/"
  cp "$root/LICENSE" "$stage/usr/share/doc/velmire/copyright"
  depends="$(deb_depends "$stage")"
  [ -n "$depends" ] || fail "dpkg-shlibdeps found no dependencies in $stage"
  mkdir -p "$stage/DEBIAN"
  cat >"$stage/DEBIAN/control" <<CONTROL
Package: velmire
Version: $version-1
Architecture: $3
Maintainer: The Velmire developers <velmire@localhost>
Installed-Size: $(du -s --apparent-size --block-size=1024 "$stage/usr" | cut -f1)
Depends: $depends
Section: video
Priority: optional
Description: cross-colour reduction for composite video captures
 Velmire removes cross-colour, the rainbow false colour that analog composite
 video leaves on fine luma detail. This package holds the command-line tool for
 YUV4MPEG2 streams (velmire), the AviSynth+ plug-in and the VapourSynth plug-in
 (see /usr/share/doc/velmire/install.md for where each frame server finds it).
CONTROL
  (cd "$stage" && find usr -type f | sort | xargs md5sum) >"$stage/DEBIAN/md5sums"
  fix_times_and_modes "$stage"
  dpkg-deb --root-owner-group -Zxz --build "$stage" "$dist/velmire_$version-1_$3.deb" >/dev/null
}

build_windows() {  # NAME TOOLCHAIN PLUG-INS
  local options=() plugin
  for plugin in VAPOURSYNTH AVISYNTHPLUS; do
    case ";$3;" in *";$plugin;"*) options+=("-DVELMIRE_$plugin=ON") ;;
                   *) options+=("-DVELMIRE_$plugin=OFF") ;; esac
  done
  build "windows-$1" "-DCMAKE_TOOLCHAIN_FILE=$root/$2" "${options[@]}"
}

windows_wheel() {  # NAME TAG
  python3 "$root/scripts/release/pack.py" wheel "$dist" "$version" "$2" \
    "$builds/windows-$1/src/vapoursynth/Velmire-VapourSynth-$1.dll" \
    "$root/README.md" "$root/LICENSE"
}

# velmire-V-windows.zip: each Windows build's DLLs in a folder of its name, and the texts.
windows_zip() {
  local entries=() name dll
  for name in "$@"; do
    for dll in "$builds/windows-$name"/src/{plugin,avisynthplus,vapoursynth}/*.dll; do
      [ -f "$dll" ] && entries+=("$name/$(basename "$dll")=$dll")
    done
  done
  sed "s/@VERSION@/$version/g" "$root/scripts/release/windows-readme.txt" >"$work/README.txt"
  python3 "$root/scripts/release/pack.py" zip "$dist/velmire-$version-windows.zip" \
    "${entries[@]}" "README.txt=$work/README.txt" "LICENSE.txt=$root/LICENSE" \
    "CHANGELOG.txt=$root/CHANGELOG.md"
}

check_requirements
[ "${1:-}" = --clean ] && rm -rf "$builds"
export SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
git -C "$root" diff --quiet HEAD -- || echo "== note: uncommitted changes go into this release"
mkdir -p "$builds"
work="$builds/stage"
rm -rf "$work" "$dist"
mkdir -p "$work" "$dist"

for platform in "${windows_platforms[@]}"; do
  read -r name toolchain plugins <<<"$platform"
  build_windows "$name" "$toolchain" "$plugins"
done
for platform in "${linux_platforms[@]}"; do
  read -r name multiarch arch tag toolchain <<<"$platform"
  build_linux "$name" "$toolchain"
done
cache="$builds/linux-${linux_platforms[0]%% *}/CMakeCache.txt"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")"
[ -n "$version" ] || fail "no project version in $cache"

for platform in "${linux_platforms[@]}"; do
  read -r name multiarch arch tag toolchain <<<"$platform"
  linux_tarball "$name"
  linux_wheel "$name" "$tag"
  [ "$toolchain" != - ] || linux_deb "$name" "$multiarch" "$arch"
done
windows_wheel x64 win_amd64
windows_zip $(printf '%s\n' "${windows_platforms[@]}" | cut -d' ' -f1)

(cd "$dist" && sha256sum -- * >SHA256SUMS)
echo "== release $version in $dist:"
(cd "$dist" && ls -l --time-style=+ -- * | awk '{print "  " $NF " (" $5 " bytes)"}')
