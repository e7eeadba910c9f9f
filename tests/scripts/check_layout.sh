#!/usr/bin/env bash
# Checks README's Layout against the tree: every folder its tree block names exists, and every
# library folder under src/ (one with a CMakeLists.txt) and every tracked top-level folder is
# named there, so the Layout cannot go stale in either direction.
set -euo pipefail
root="$1"
readme="$root/README.md"

# The first fenced block after the "### Layout" heading: one folder a line, each level indented
# two spaces deeper, its name ending in "/"; other lines continue a description.
named="$(awk '
  /^### Layout/ { in_section = 1; next }
  in_section && /^#/ { exit }
  in_section && /^```/ { if (in_block) exit; in_block = 1; next }
  in_block {
    match($0, /^ */); depth = RLENGTH / 2
    split(substr($0, RLENGTH + 1), word, " ")
    if (word[1] !~ /\/$/) next
    path[depth] = word[1]; name = ""
    for (d = 0; d <= depth; ++d) name = name path[d]
    print name
  }' "$readme")"

faults=0
if [ -z "$named" ]; then
  echo "README.md: no folder tree found in the Layout section"
  exit 1
fi
while IFS= read -r dir; do
  if [ ! -d "$root/$dir" ]; then
    echo "README.md Layout names $dir, which does not exist"
    faults=$((faults + 1))
  fi
done <<<"$named"

expected="$(cd "$root" && find src -mindepth 2 -name CMakeLists.txt -printf '%h/\n')"
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  expected+=$'\n'"$(git -C "$root" ls-files | awk -F/ 'NF > 1 { print $1 "/" }' | sort -u)"
fi
while IFS= read -r dir; do
  if [ -n "$dir" ] && ! grep -qxF "$dir" <<<"$named"; then
    echo "README.md Layout does not name $dir"
    faults=$((faults + 1))
  fi
done <<<"$expected"

exit $((faults > 0))
