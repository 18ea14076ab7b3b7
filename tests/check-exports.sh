#!/bin/sh
# Fails when the library exports anything but the members of kelvorn::UnihanMgr.
set -eu
lib="$1"
symbols=$(nm -DC --defined-only "$lib" | awk '$2 != "A" { $1 = ""; $2 = ""; print }' | sed 's/^ *//')
strays=$(printf '%s\n' "$symbols" | grep -v '^kelvorn::UnihanMgr::' || true)
if [ -n "$strays" ]; then
  echo "unexpected exported symbols:"; printf '%s\n' "$strays"; exit 1
fi
count=$(printf '%s\n' "$symbols" | sed 's/@.*//' | sort -u | wc -l)
if [ "$count" -ne 22 ]; then
  echo "expected 22 distinct kelvorn::UnihanMgr members, found $count"
  printf '%s\n' "$symbols" | sed 's/@.*//' | sort -u; exit 1
fi
echo "export table: 22 members of kelvorn::UnihanMgr"
