#!/bin/sh
# Fails when the index library exports anything but its own kelvorn members:
# UnihanIndex, the sort keys' operators, signedResidual and readingMatches.
set -eu
lib="$1"
symbols=$(nm -DC --defined-only "$lib" | awk '$2 != "A" { $1 = ""; $2 = ""; print }' | sed 's/^ *//')
strays=$(printf '%s\n' "$symbols" |
  grep -Ev '^kelvorn::(UnihanIndex::|operator(<|==)\(kelvorn::(RadicalStrokeKey|TotalStrokesKey) const&|signedResidual\(|readingMatches\()' || true)
if [ -n "$strays" ]; then
  echo "unexpected exported symbols:"; printf '%s\n' "$strays"; exit 1
fi
count=$(printf '%s\n' "$symbols" | sed 's/@.*//' | sort -u | wc -l)
if [ "$count" -ne 20 ]; then
  echo "expected 20 distinct index symbols, found $count"
  printf '%s\n' "$symbols" | sed 's/@.*//' | sort -u; exit 1
fi
echo "export table: 20 index symbols"
