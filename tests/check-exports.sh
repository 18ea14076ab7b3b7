#!/bin/sh
# Fails when a shared library exports anything but what it promises.
#
#   check-exports.sh LIBRARY PATTERN COUNT WHAT
#
# Every exported symbol, demangled, must match the extended regular
# expression PATTERN, and there must be exactly COUNT distinct ones.
set -eu
lib="$1" pattern="$2" expected="$3" what="$4"
symbols=$(nm -DC --defined-only "$lib" | awk '$2 != "A" { $1 = ""; $2 = ""; print }' | sed 's/^ *//')
strays=$(printf '%s\n' "$symbols" | grep -Ev "$pattern" || true)
if [ -n "$strays" ]; then
  echo "unexpected exported symbols:"; printf '%s\n' "$strays"; exit 1
fi
count=$(printf '%s\n' "$symbols" | sed 's/@.*//' | sort -u | wc -l)
if [ "$count" -ne "$expected" ]; then
  echo "expected $expected distinct $what, found $count"
  printf '%s\n' "$symbols" | sed 's/@.*//' | sort -u; exit 1
fi
echo "export table: $expected $what"
