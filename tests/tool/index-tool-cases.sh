#!/bin/sh
# Cases of the index subcommands (radical, strokes, reading, sort), one per
# ctest test, each in a temporary directory removed however it ends; their
# JSON is lexicon-cases.sh's and the docs'.
# Usage: index-tool-cases.sh CASE TOOL DATA_TXT EARLIER_IMAGE
set -eu
case_name=$1 tool=$2 text=$3 earlier=$4
. "$(cd "$(dirname "$0")" && pwd)/common.sh" "$case_name"
# A field name the tool does not take exits with 2, other refusals with 1.
wanted=1

# The pages of 85, 120' and 120, and of two strokes, are docs/tool.md's; the
# order on them (a source's too) is IndexOrderTest's and BundleTest's.
case_radical() {
  # A source the data does not carry is named, not answered with an empty page.
  fails_with 'no kRSKanWa values' radical 85 --source kRSKanWa
  fails radical 85 --source kRSKangXi
  [ -n "$("$tool" radical 1 --source kRSKangXi --data "$earlier")" ] ||
    fail "Unicode 15.0 has kRSKangXi values"
  # A label of several marks (剤 is 210''.2, on 210's page), asked in nine digits.
  has "$("$tool" radical 000000210)" "^210'' \\+2: .*剤"
  page=$("$tool" radical "212'''")  # three marks, the most 17.0 writes, on 212's page too
  [ "$("$tool" radical 212 | grep "^212''' ")" = "$page" ] && has "$page" "^212''' \\+0: 𱷥$" || fail "212'''"
  # A character with no kRSUnicode value; a source with values of radical 214 alone.
  printf 'U+4E00\tkTotalStrokes\t1\nU+4E01\tkRSUnicode\t1.1\nU+4E01\tkTotalStrokes\t1\nU+4E02\tkRSKangXi\t214.0\nU+4E03\tkTotalStrokes\t2\n' >few.txt
  # shellcheck disable=SC2086 # each holds several words
  out=$(for a in "strokes 1" "strokes 2" "radical 1" "radical 214 --source kRSKangXi"; do "$tool" --data few.txt $a; done)
  [ "$out" = "$(printf 'radical 1: 丁\nno radical: 一\nno radical: 七\n1 +1: 丁\n214 +0: 丂')" ] || fail "few.txt: $out"
}

# What a lookup, one in frequency order, one of a syllable's start (with
# readings of the dictionaries' fields, 这 zhèi) and one of another field print
# is docs/tool.md's.
case_reading() {
  [ -z "$("$tool" reading kan --field kJapaneseOn --exact)" ] || fail "exact is byte for byte"
  # Each subcommand that reads the all-field image takes another one.
  # shellcheck disable=SC2086 # each holds several words
  for sub in "reading shi4 --order frequency" "search lick" "lookup kCangjie ETLO" "variants 漢" fields "show --all 漢"; do
    fails_with 'missing.bin: no such file' $sub --fields-data missing.bin
  done
  wanted=2
  fails_with 'excludes' reading zh --prefix --exact
}

# Standard input and --by strokes are docs/tool.md's.
case_sort() {
  printf '漢字\nabc\n\n水\n字\n漢\n氵\n字\n' >words.txt
  out=$("$tool" sort words.txt)
  expected=$(printf '\n字\n字\n水\n氵\n漢\n漢字\nabc')
  [ "$out" = "$expected" ] || fail "radical-stroke order: $out"
  # A line that begins another comes first.
  printf '字\tsecond\n字\n字\tfirst\n' >prefix.txt
  [ "$("$tool" sort prefix.txt)" = "$(printf '字\n字\tfirst\n字\tsecond')" ] || fail "prefix first"
  [ -z "$(: | "$tool" sort)" ] || fail "empty input prints nothing"
  # A tie (a compatibility ideograph and its target) falls to the next characters, then input order.
  printf '\357\245\247\n不\n\357\245\247水\n不字\n' >ties.txt
  [ "$("$tool" sort ties.txt)" = "$(printf '\357\245\247\n不\n不字\n\357\245\247水')" ] || fail "ties"
}

case_errors() {
  for r in 0 215 "120''''" "120'x"; do fails radical "$r"; done
  fails_with "bad radical 'x' \\(expected 1 to 214\\)" radical x
  fails radical "120'" --source kRSVantu_Japan1_6
  wanted=2
  fails radical 85 --source kMandarin
  wanted=1
  for n in 0 256; do fails strokes "$n"; done
  fails reading ''
  wanted=2
  fails reading han --field kRSUnicode
  wanted=1
  fails reading "$(printf '\346\274')"
  fails sort --by size words.txt
  fails sort missing.txt
  printf 'ok\n\346\274\nfine\n' >bad.txt
  fails_with 'line 2' sort bad.txt
}

# The index saved beside the all-field image: the bundled one is opened, one
# saved by compile-index beside copies of the images is too, and one that is
# stale or damaged is passed over for a build; the answers never differ.
case_saved() {
  bundle=$(cd "$(dirname "$tool")/../data" && pwd)
  [ -s "$bundle/unihan-index-17.0.bin" ] || fail "the build saved no index beside the images"
  cp "$bundle/unihan-17.0.bin" core.bin
  cp "$bundle/unihan-fields-17.0.bin" unihan-fields-17.0.bin
  printf '漢字\n水\n纟\n紅\n王\n玉\n\357\245\247\n不\n' >words.txt
  # $1: options of the tool, $2: options of each subcommand.
  # shellcheck disable=SC2086 # each holds several words, or none
  answers() {
    "$tool" $1 radical 85 $2
    "$tool" $1 radical "120'" $2
    "$tool" $1 strokes 4 $2
    "$tool" $1 sort words.txt $2
    "$tool" $1 reading shi4 --order frequency $2
  }
  bundled=$(answers "" "")
  core="--data core.bin" fields="--fields-data unihan-fields-17.0.bin"
  [ "$(answers "$core" "$fields")" = "$bundled" ] || fail "a built index answers otherwise"
  # shellcheck disable=SC2086 # (its report is docs/tool.md's)
  has "$("$tool" $core compile-index $fields)" '^unihan-index-17.0.bin: 102998 code points, [0-9]+\.[0-9]{2} s$'
  cmp -s unihan-index-17.0.bin "$bundle/unihan-index-17.0.bin" || fail "not the bundled bytes"
  [ "$(answers "$core" "$fields")" = "$bundled" ] || fail "the saved index answers otherwise"
  # Saved for other data (the earlier release's core image): passed over.
  "$tool" --data "$earlier" compile-index --fields-data unihan-fields-17.0.bin >/dev/null
  [ "$(answers "$core" "$fields")" = "$bundled" ] || fail "a stale index was used"
  head -c 100000 "$bundle/unihan-index-17.0.bin" >unihan-index-17.0.bin
  [ "$(answers "$core" "$fields")" = "$bundled" ] || fail "a cut index was used"
  fails_with 'binary image' --data "$text" compile-index --fields-data unihan-fields-17.0.bin
  mkdir out.bin
  fails --data core.bin compile-index --fields-data unihan-fields-17.0.bin -o out.bin
  [ -z "$(ls out.bin)" ] || fail "something was left in out.bin"
}

"case_$case_name"
echo "ok: $case_name"
