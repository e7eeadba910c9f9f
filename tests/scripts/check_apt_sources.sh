#!/usr/bin/env bash
# scripts/apt.sh's fallback: the sources an update reads when one architecture's list of one
# source cannot be had. Only that source loses only that architecture, in both source formats.
set -euo pipefail
apt_sh="$1"
etc="$(mktemp -d)"
trap 'rm -rf "$etc"' EXIT
mkdir -p "$etc/sources.list.d"
cat >"$etc/sources.list" <<'LIST'
deb http://mirror/security bookworm-security main
deb [signed-by=/key.gpg] http://mirror/security/ bookworm-security main
deb [arch=amd64] http://mirror/security bookworm-security main
deb http://mirror/debian bookworm main
LIST
cat >"$etc/sources.list.d/debian.sources" <<'LIST'
Types: deb
URIs: http://mirror/debian
Suites: bookworm

Types: deb
URIs: http://mirror/security/
Suites: bookworm-security
LIST

out="$(VELMIRE_APT_ETC="$etc" VELMIRE_APT_ARCHES="amd64 i386 arm64" \
  bash "$apt_sh" sources-without "http://mirror/security i386")"
failures=0
# Each expected line, and how often it must appear.
while IFS='|' read -r count line; do
  got="$(grep -cxF -- "$line" <<<"$out" || true)"
  if [ "$got" != "$count" ]; then
    echo "expected $count x '$line', found $got in:"; echo "$out"; failures=1
  fi
done <<'TABLE'
1|deb [arch=amd64,arm64] http://mirror/security bookworm-security main
1|deb [arch=amd64,arm64 signed-by=/key.gpg] http://mirror/security/ bookworm-security main
1|deb [arch=amd64] http://mirror/security bookworm-security main
1|deb http://mirror/debian bookworm main
1|Architectures: amd64 arm64
1|URIs: http://mirror/debian
TABLE
exit "$failures"
