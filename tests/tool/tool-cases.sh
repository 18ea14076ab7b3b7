#!/bin/sh
# Cases of the unihan tool, one per ctest test.
# Usage: tool-cases.sh CASE TOOL DATA_TXT IMAGE
set -eu
case_name=$1 tool=$2 text=$3 image=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$case_name"

# The table of 漢, its --all lines and its JSON are docs/tool.md's; test_show
# runs more characters (字's second values), text and JSON, beside its own show.
case_show() {
  out=$("$tool" show 漢)
  # --all adds every field of the all-field store, after the same table.
  all=$("$tool" show --all 漢)
  [ "$(printf '%s\n' "$all" | head -n "$(printf '%s\n' "$out" | wc -l)")" = "$out" ] ||
    fail "show --all does not begin with the table"
  [ "$(printf '%s\n' "$all" | grep -c '^  k')" -eq 64 ] || fail "show --all: not 64 fields"
  has "$("$tool" show --all U+4491)" '^  kAlternateTotalStrokes 3:J$'  # a name as wide as the column
}

case_cid() {
  # What it prints is docs/tool.md's.
  fails_with 'no code point for CID 99999' cid 99999
  fails cid 12a
  fails cid -- -1
  fails cid 1533 00000001533  # ten digits at most, however many are zeros
  # The largest CID a number of 32 bits holds is asked; one more is refused.
  fails_with 'no code point for CID 4294967295' cid 4294967295
  fails_with "bad CID '4294967296'" cid 4294967296
}

case_dump() {
  # The bytes of the text's dump are RealDataTest's.
  "$tool" dump "$image" -o from-image.txt
  [ "$(wc -c <from-image.txt)" -eq 8456054 ] || fail "dump size $(wc -c <from-image.txt)"
  fails dump missing.bin -o gone.txt
  no_output_left gone.txt
}

case_compile_split() {
  sh "$here/split-unihan.sh" "$text" split
  # The report is docs/tool.md's, its time in hundredths of a second.
  has "$("$tool" compile split -o from-dir.bin)" '^from-dir.bin: .* bytes, [0-9]+\.[0-9]{2} s$'
  cmp from-dir.bin "$image" || fail "split files compile to other bytes than the merged file"
  # Files named one by one, in an order other than by name.
  "$tool" compile split/Unihan_Readings.txt split/Unihan_IRGSources.txt \
    split/Unihan_DictionaryIndices.txt split/Unihan_RadicalStrokeCounts.txt -o named.bin >/dev/null
  cmp named.bin "$image" || fail "named split files compile to other bytes"
  # Lines read as the library reads them (after "U+", white space, then hex
  # digits of either case up to any other byte) merge in code point order.
  mkdir mixed
  printf 'U+\t4e0f\tkTotalStrokes\t4\nU+4E0A\tkTotalStrokes\t3\nU+\r4E10\tkTotalStrokes\t5\n' >mixed/Unihan_IRGSources.txt
  printf 'U+ 4e09\tkMandarin\tsan1\nU+04E0BG\tkMandarin\txia4\nU+\f4E0E\tkMandarin\tyu2\nU+4e0a\tkMandarin\tshang4\n' >mixed/Unihan_Readings.txt
  printf 'U+ 4e09\tkMandarin\tsan1\nU+4E0A\tkTotalStrokes\t3\nU+4e0a\tkMandarin\tshang4\nU+04E0BG\tkMandarin\txia4\nU+\f4E0E\tkMandarin\tyu2\nU+\t4e0f\tkTotalStrokes\t4\nU+\r4E10\tkTotalStrokes\t5\n' >mixed.txt
  "$tool" compile mixed -o mixed-dir.bin >/dev/null && "$tool" compile mixed.txt -o mixed.bin >/dev/null
  cmp mixed-dir.bin mixed.bin || fail "split lines merged out of code point order"
}

case_compile_errors() {
  mkdir empty && fails compile empty -o out.bin
  printf 'hello\n' >hello.txt && fails_with '^unihan: hello.txt: not Unihan text' compile hello.txt -o out.bin
  # The parts are Unihan_<part>.txt: a bare Unihan_.txt (here a directory,
  # which a part could not be) is none.
  mkdir parts parts/Unihan_.txt && printf 'U+4E00\tkMandarin\tyi1\n' >parts/Unihan_Readings.txt
  "$tool" compile parts -o parts.bin >/dev/null || fail "Unihan_.txt taken for a part of the data"
  no_output_left out.bin
  # One file twice, by another name: its readings would be doubled.
  printf 'U+4E00\tkMandarin\tyi1\n' >one.txt && ln one.txt same.txt
  fails_with 'same.txt: is the input one.txt again' compile one.txt same.txt -o out.bin
  # --data '' names no file; it does not fall back on the bundled image.
  fails_with 'empty path' --data '' show 漢
  # A byte-order mark does not hide the first line.
  printf '\357\273\277U+4E00\tkTotalStrokes\t1\n' >bom.txt
  has "$("$tool" --data bom.txt show 一)" 'total strokes +1$'
  # A table step of the build writes the build's tables; 2 for a bad command line, 1 on failure.
  steps=$(dirname "$tool") && "$steps/unihan-core-tables" "$image" t.bin && cmp t.bin "${image%/*}/unihan-core-tables-17.0.bin"
  truncate -s 1073741825 big.bin && st= && "$steps/unihan-core-tables" big.bin 2>err.txt || st=$?
  "$steps/unihan-core-tables" big.bin out.bin 2>>err.txt || st=$st.$?
  [ "$st $(tr '\n' '|' <err.txt)" = "2.1 usage: unihan-core-tables IMAGE OUTPUT|unihan-core-tables: big.bin: too large (1073741825 bytes; at most 1073741824)|" ] ||
    fail "table step: $st $(cat err.txt)"
}

# --version is docs/tool.md's.
case_cli() {
  "$tool" --help >help.txt
  for sub in compile dump show cid; do
    grep -q "^  $sub" help.txt || fail "--help does not list $sub"
    "$tool" "$sub" --help | grep -q "^Usage: unihan $sub" || fail "$sub --help"
  done
  grep -q -- '--data' help.txt || fail "--help does not list --data"
  fails
  fails frobnicate
  fails show
  fails compile "$text"
}

"case_$case_name"
echo "ok: $case_name"
