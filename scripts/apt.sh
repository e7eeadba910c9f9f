#!/usr/bin/env bash
# apt-get with patience for a mirror that is being synchronised: "update" retries; when one
# architecture's package list of a source still cannot be had (a mirror caught between its
# release file and its lists, for hours at times), it refreshes once more without that
# architecture for that source, so the source's other lists (which apt otherwise drops with it)
# stay current and packages of two architectures keep matching versions. "install PACKAGES..."
# retries after refreshing the lists. Used by setup.sh and the continuous-integration entry.
set -uo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
attempts="${VELMIRE_APT_ATTEMPTS:-4}"
etc="${VELMIRE_APT_ETC:-/etc/apt}"  # where the sources are read
log="$(mktemp)"
sources=""
trap 'rm -rf "$log" $sources' EXIT

# Copies of the machine's sources in which every source named in $1 (lines "URI ARCH") reads
# no lists of ARCH; prints the apt-get options that use them.
sources_without() {
  sources="$(mktemp -d)"
  local all
  all="${VELMIRE_APT_ARCHES:-$(dpkg --print-architecture; dpkg --print-foreign-architectures)}"
  local file
  for file in "$etc/sources.list" "$etc"/sources.list.d/*.list \
      "$etc"/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v failed="$1" -v all="$(echo $all)" -v deb822="${file%.sources}" -v name="$file" '
      BEGIN {
        n = split(failed, lines, "\n")
        for (i = 1; i <= n; i++) { split(lines[i], f, " "); drop[f[1]] = drop[f[1]] " " f[2] }
      }
      function keep(uri,   a, k, n, out) {
        n = split(all, a, " ")
        for (k = 1; k <= n; k++)
          if (index(drop[uri] " ", " " a[k] " ") == 0) out = out (out ? "," : "") a[k]
        return out
      }
      function flush() {
        if (stanza != "") {
          printf "%s", stanza
          if (uri in drop) { s = keep(uri); gsub(",", " ", s); print "Architectures: " s }
          print ""
        }
        stanza = ""; uri = ""
      }
      deb822 != name {  # a .sources file: stanzas of "Field: value" lines
        if ($0 ~ /^[ \t]*$/) { flush(); next }
        if ($1 == "URIs:") { uri = $2; sub("/$", "", uri) }
        stanza = stanza $0 "\n"; next
      }
      $1 == "deb" || $1 == "deb-src" {  # a .list file: one source a line
        u = ($2 ~ /^\[/) ? "" : $2
        if (u == "") { for (i = 2; i <= NF; i++) if ($i ~ /\]$/) { u = $(i + 1); break } }
        sub("/$", "", u)
        if ((u in drop) && $0 !~ /arch=/) {
          if ($2 ~ /^\[/) sub(/\[/, "[arch=" keep(u) " "); else $1 = $1 " [arch=" keep(u) "]"
        }
      }
      { print }
      END { if (deb822 != name) flush() }
    ' "$file" >"$sources/$(basename "$file")"
  done
  echo "-o Dir::Etc::SourceList=$sources/sources.list -o Dir::Etc::SourceParts=$sources"
}

# Lists refreshed less than ten minutes ago (by an earlier call of this script) are kept: a
# run calls it several times, and a mirror out of step stays so for longer than that.
stamp="${TMPDIR:-/tmp}/velmire-apt-refreshed"
fresh() { [ -n "$(find "$stamp" -mmin -10 2>/dev/null)" ]; }

refresh() {
  local n
  if fresh; then
    echo "apt.sh: package lists refreshed in the last ten minutes; kept" >&2
    return 1
  fi
  touch "$stamp"
  for ((n = 1; n <= attempts; n++)); do
    $SUDO apt-get -o Acquire::Retries=3 update 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] && return 0
    echo "apt.sh: apt-get update failed (attempt $n of $attempts)" >&2
    [ "$n" -lt "$attempts" ] && sleep $((n * 15))
  done
  # "Failed to fetch URI/dists/SUITE/COMPONENT/binary-ARCH/..." names what cannot be had.
  local failed
  failed="$(sed -n 's|.*Failed to fetch \([^ ]*\)/dists/[^ ]*/binary-\([a-z0-9]*\)/.*|\1 \2|p' \
    "$log" | sort -u)"
  if [ -n "$failed" ]; then
    echo "apt.sh: refreshing without the lists that cannot be had: $(echo $failed)" >&2
    # shellcheck disable=SC2046
    $SUDO apt-get -o Acquire::Retries=3 $(sources_without "$failed") update && return 0
  fi
  echo "apt.sh: going on with the package lists apt has" >&2
  return 0
}

case "${1:-}" in
  update) refresh || true ;;
  install)
    shift
    # A second try, after the lists are refreshed, is all that helps: packages that cannot be
    # resolved stay so, and with lists just refreshed there is no second try.
    $SUDO apt-get -o Acquire::Retries=3 install -y "$@" && exit 0
    echo "apt.sh: apt-get install failed" >&2
    refresh || exit 1
    $SUDO apt-get -o Acquire::Retries=3 install -y "$@" ;;
  # The sources an update would read without the lists named in $2 ("URI ARCH" lines).
  sources-without)
    [ $# -eq 2 ] || exit 2
    sources_without "$2" >/dev/null
    for file in "$sources"/*; do echo "== $(basename "$file")"; cat "$file"; done ;;
  *) echo "usage: scripts/apt.sh update | install [apt-get options] PACKAGES..." \
       "| sources-without 'URI ARCH'" >&2; exit 2 ;;
esac
