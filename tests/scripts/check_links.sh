#!/usr/bin/env bash
# Checks that every relative link and picture of README.md and docs/*.md under the given root
# leads somewhere: the file or folder exists and, for a link with #anchor into a Markdown file, a heading of that file
# makes the anchor (lower case, punctuation dropped, spaces as hyphens).
set -euo pipefail

# The anchors of a Markdown file's headings, fenced code left out.
anchors() {
  awk '/^```/ { fenced = !fenced; next }
       !fenced && /^#+ / {
         h = tolower($0); sub(/^#+ /, "", h)
         gsub(/[^a-z0-9 _-]/, "", h); gsub(/ /, "-", h); print h
       }' "$1"
}

# The link targets of a Markdown file, fenced code left out: (target) after ] and src="target".
targets() {
  awk '/^```/ { fenced = !fenced; next } !fenced' "$1" |
    grep -oE '\]\([^) ]+\)|src="[^"]+"' | sed -E 's/^\]\((.*)\)$/\1/; s/^src="(.*)"$/\1/' || true
}

faults=0
for file in "$1"/README.md "$1"/docs/*.md; do
  dir="$(dirname "$file")"
  while IFS= read -r target; do
    case "$target" in "" | http://* | https://* | mailto:*) continue ;; esac
    path="${target%%#*}" anchor=""
    [[ "$target" == *"#"* ]] && anchor="${target#*#}"
    resolved="$file"
    [ -n "$path" ] && resolved="$dir/$path"
    if [ ! -e "$resolved" ]; then
      echo "$file: link to $target: no such file"
      faults=$((faults + 1))
    elif [ -n "$anchor" ] && [[ "$resolved" == *.md ]] &&
         ! anchors "$resolved" | grep -qxF "$anchor"; then
      echo "$file: link to $target: no such heading"
      faults=$((faults + 1))
    fi
  done < <(targets "$file")
done
exit $((faults > 0))
