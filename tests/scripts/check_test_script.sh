#!/usr/bin/env bash
# Checks that the test command cannot pass without running tests: every cmake configure in it
# turns the tests on (an earlier configure, such as the demo's, may have turned them off in
# the cache), and every ctest call fails when it finds no test (--no-tests=error).
set -euo pipefail
script="$1"

# One command per line: continued lines joined, comment lines dropped.
commands="$(sed -e ':join' -e '/\\$/{N;s/\\\n//;b join' -e '}' "$script" | grep -v '^[[:space:]]*#')"

faults=0 configures=0 ctests=0
while IFS= read -r line; do
  if [[ "$line" =~ (^|[[:space:]])cmake[[:space:]]+-S ]]; then
    configures=$((configures + 1))
    if [[ "$line" != *"-DVELMIRE_BUILD_TESTS=ON"* ]]; then
      echo "configures without -DVELMIRE_BUILD_TESTS=ON: $line"
      faults=$((faults + 1))
    fi
  fi
  if [[ "$line" =~ (^|[[:space:]])ctest[[:space:]] ]]; then
    ctests=$((ctests + 1))
    if [[ "$line" != *"--no-tests=error"* ]]; then
      echo "runs ctest without --no-tests=error: $line"
      faults=$((faults + 1))
    fi
  fi
done <<<"$commands"

if ((configures == 0 || ctests == 0)); then
  echo "found no cmake configure or no ctest call in $script"
  exit 1
fi
echo "$configures configure and $ctests ctest commands checked, $faults faults"
((faults == 0))
