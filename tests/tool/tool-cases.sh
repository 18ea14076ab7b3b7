#!/bin/sh
# Cases of the unihan tool, one per ctest test.
# Usage: tool-cases.sh CASE TOOL DATA_TXT IMAGE
set -eu
case_name=$1 tool=$2 text=$3 image=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$case_name"

case_show() {
  out=$("$tool" show 漢)
  has "$out" '^U\+6F22 漢$'
  has "$out" 'kRSUnicode +85 +11$'
  has "$out" 'kRSVantu_Japan1_6 +85 +10 +\(radical form 3 strokes\)'
  # The default preference answers first from kRSVantu_Japan1_6, with the
  # residual its own row shows.
  has "$out" '^    preferred +85 +10 +\(kRSVantu_Japan1_6, first in preference order\)$'
  has "$out" 'total strokes +14$'
  has "$out" 'CID 1533 +glyph 13 strokes'
  has "$out" 'Mandarin +hàn$'
  has "$out" 'KARA KAN'
  has "$out" 'HanYu +volume 3, page 1713, position 9, virtual 0'
  [ "$("$tool" show U+6F22)" = "$out" ] || fail "U+6F22 differs from 漢"
  # --all adds every field of the all-field store, after the same table.
  all=$("$tool" show --all 漢)
  [ "$(printf '%s\n' "$all" | head -n "$(printf '%s\n' "$out" | wc -l)")" = "$out" ] ||
    fail "show --all does not begin with the table"
  has "$all" '^  kCangjie +ETLO$'
  has "$all" '^  kDefinition +the Chinese people, Chinese language$'
  [ "$(printf '%s\n' "$all" | grep -c '^  k')" -eq 64 ] || fail "show --all: not 64 fields"

  [ "$("$tool" show u+6f22)" = "$out" ] || fail "u+6f22 differs from 漢"
  # Several characters per argument, the second value of kRSUnicode, and a
  # code point that no block holds, which is reported but is not an error.
  out=$("$tool" show 漢字 U+3687 A)
  [ "$(printf '%s\n' "$out" | grep -c '^U+')" -eq 4 ] || fail "expected four tables: $out"
  has "$out" 'kRSUnicode +66 +6$'
  has "$out" '^U\+0041 A$'
  has "$out" 'not in the Unihan data'
}

# The whole shape of show's JSON; that text and images answer alike is
# App.ImageAndTextLoadAlikeFromFileAndMemory's.
case_show_json() {
  "$tool" show --json 漢 U+5B57 A >out.jsonl
  cat >expected.jsonl <<'EOF'
{"codePoint":"U+6F22","char":"漢","known":true,"radicalStrokes":{"kRSUnicode":[{"radical":85,"residual":11}],"kRSVantu_Japan1_6":[{"radical":85,"residual":10,"radicalFormStrokes":3}]},"preferred":{"source":"kRSVantu_Japan1_6","radical":85,"residual":10},"totalStrokes":14,"cids":[{"cid":1533,"strokes":13}],"readings":{"kMandarin":["hàn"],"kHanyuPinlu":["hàn"],"kJapaneseKun":["KARA"],"kJapaneseOn":["KAN"]},"kHanYu":{"volume":3,"page":1713,"position":9,"virtual":0}}
{"codePoint":"U+5B57","char":"字","known":true,"radicalStrokes":{"kRSUnicode":[{"radical":39,"residual":3}],"kRSVantu_Japan1_6":[{"radical":39,"residual":3,"radicalFormStrokes":3},{"radical":40,"residual":3,"radicalFormStrokes":3}]},"preferred":{"source":"kRSVantu_Japan1_6","radical":39,"residual":3},"totalStrokes":6,"cids":[{"cid":2248,"strokes":6},{"cid":2248,"strokes":6}],"readings":{"kMandarin":["zì"],"kHanyuPinlu":["zì","zi"],"kJapaneseKun":["AZA","UMU","MASU"],"kJapaneseOn":["JI"]},"kHanYu":{"volume":2,"page":1010,"position":2,"virtual":0}}
{"codePoint":"U+0041","char":"A","known":false}
EOF
  cmp out.jsonl expected.jsonl || fail "show --json: $(cat out.jsonl)"
}

case_cid() {
  out=$("$tool" cid 1533 2248)
  has "$out" '^CID 1533: U\+6F22 漢$'
  has "$out" '^CID 2248: U\+5B57 字$'
  fails cid 99999
  grep -q 'no code point for CID 99999' err.txt || fail "wrong message: $(cat err.txt)"
  fails cid 12a
  fails cid -- -1
  fails cid 1533 99999999999
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
  "$tool" compile split -o from-dir.bin >report.txt
  cmp from-dir.bin "$image" || fail "split files compile to other bytes than the merged file"
  has "$(cat report.txt)" '^from-dir.bin: 12 blocks, 102998 code points, 2097331 bytes'
  has "$(cat report.txt)" '^  U\+4E00\.\.U\+9FFF +20992 code points$'
  # Files named one by one, in an order other than by name.
  "$tool" compile split/Unihan_Readings.txt split/Unihan_IRGSources.txt \
    split/Unihan_DictionaryIndices.txt split/Unihan_RadicalStrokeCounts.txt -o named.bin >/dev/null
  cmp named.bin "$image" || fail "named split files compile to other bytes"
}

case_compile_errors() {
  mkdir empty && fails compile empty -o out.bin
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
}

case_cli() {
  "$tool" --help >help.txt
  for sub in compile dump show cid; do
    grep -q "^  $sub" help.txt || fail "--help does not list $sub"
    "$tool" "$sub" --help | grep -q "^Usage: unihan $sub" || fail "$sub --help"
  done
  grep -q -- '--data' help.txt || fail "--help does not list --data"
  "$tool" --version | grep -Eqx 'unihan [0-9]+\.[0-9]+\.[0-9]+ \(bundled data: Unicode 1[7-9]\.[0-9]+\)' ||
    fail "--version: $("$tool" --version)"
  fails
  fails frobnicate
  fails show
  fails compile "$text"
}

"case_$case_name"
echo "ok: $case_name"
