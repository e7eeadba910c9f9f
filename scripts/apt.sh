#!/usr/bin/env bash
# apt-get with patience for a mirror that is being synchronised: "update" retries, and when some
# lists still fail it goes on with the ones apt has (a package that is really missing then fails
# the install, which says which); "install PACKAGES..." retries after refreshing the lists.
# Used by setup.sh and the continuous-integration entry.
set -uo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
attempts=4

refresh() {
  local n
  for ((n = 1; n <= attempts; n++)); do
    $SUDO apt-get -o Acquire::Retries=3 update && return 0
    echo "apt.sh: apt-get update failed (attempt $n of $attempts)" >&2
    [ "$n" -lt "$attempts" ] && sleep $((n * 20))
  done
  echo "apt.sh: going on with the package lists apt has" >&2
  return 0
}

case "${1:-}" in
  update) refresh ;;
  install)
    shift
    for ((n = 1; n <= attempts; n++)); do
      $SUDO apt-get -o Acquire::Retries=3 install -y "$@" && exit 0
      echo "apt.sh: apt-get install failed (attempt $n of $attempts)" >&2
      [ "$n" -lt "$attempts" ] && { sleep $((n * 20)); refresh; }
    done
    exit 1 ;;
  *) echo "usage: scripts/apt.sh update | install [apt-get options] PACKAGES..." >&2; exit 2 ;;
esac
