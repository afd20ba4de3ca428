#!/usr/bin/env bash
# Includes point downwards: a folder of the program includes only from its own floor and those
# below it, never from one that uses it. signing/ and verify/ stand on catalog/, below the
# generation and the front ends that use them.
# Usage: include-floors.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1
floors=(settings inf platform payload catalog signing verify generate pages app cli)
failed=0
for i in "${!floors[@]}"; do
  above=("${floors[@]:i+1}")
  [ ${#above[@]} -gt 0 ] || continue
  pattern="^#include \"($(IFS='|'; echo "${above[*]}"))/"
  if found=$(grep -rnE "$pattern" "${floors[$i]}"); then
    echo "FAIL: ${floors[$i]}/ includes from a floor above it:" >&2
    echo "$found" >&2
    failed=1
  fi
done
[ "$failed" = 0 ] && echo "PASS: every include points downwards"
exit "$failed"
