#!/bin/sh
# Cases on the bundled 17.0 data, one per ctest test, each in a temporary
# directory removed however it ends: the lexicon subcommands (variants,
# convert, search, lookup), and answers a user can act on: unknown field names
# are refused naming the nearest field (exit 2), lookups that find nothing
# exit 1 and print nothing, every subcommand that prints characters speaks
# JSON starting with codePoint and char, and `fields` lists every field.
# Usage: lexicon-cases.sh CASE TOOL
set -eu
case_name=$1 tool=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$case_name"

# 漢 and 后, and 兔's JSON, are docs/lexicon.md's.
case_variants() {
  [ "$("$tool" variants 人)" = 'U+4EBA 人 (neither)
  kSemanticVariant            U+4EBB 亻  kMatthews' ] || fail "variants: $("$tool" variants 人)"
  [ "$("$tool" variants A)" = "U+0041 A (neither)" ] || fail "A"  # bad ones: test_show's
}

# Standard input, both ways, is docs/lexicon.md's.
case_convert() {
  # Line ends, CRLF and a missing final newline pass through unchanged.
  printf '漢字 and 發展\r\n\n后乾 x' >in.txt
  "$tool" convert --to simplified in.txt >out.txt
  printf '汉字 and 发展\r\n\n后乾 x' >expected.txt
  cmp out.txt expected.txt || fail "to simplified: $(od -c out.txt)"
  : | "$tool" convert --to traditional >empty.txt
  [ ! -s empty.txt ] || fail "empty input gave output"
  # -o writes through a staged file; --json then reports on stdout.
  printf '发\n头发 后\n' >in2.txt
  report=$("$tool" convert --to traditional in2.txt -o out2.txt --json)
  # 头 and 后 list themselves among their traditional forms, but 頭 and 後
  # stand for them alone.
  [ "$(cat out2.txt)" = "$(printf '發\n頭發 後')" ] || fail "-o: $(cat out2.txt)"
  # (What a report line holds is docs/lexicon.md's.)
  [ "$(printf '%s\n' "$report" | wc -l)" -eq 4 ] && [ "$(printf '%s\n' "$report" | tail -n 1)" = \
    '{"codePoint":"U+540E","char":"后","line":2,"column":4,"to":"後","candidates":["后","後"]}' ] ||
    fail "report: $report"
  no_staging_left
  # Bad UTF-8 (the message and the lines before it are docs/lexicon.md's; one
  # cut where a piece ends is named by its lead): -o leaves no file.
  fails_with 'line 1: not valid UTF-8: byte 0xE6 at offset 0' convert --to simplified -o new.txt \
    "$(printf '\346\274' >cut.txt && echo cut.txt)"
  no_output_left new.txt
  fails_with 'byte 0xF0 at offset 65532' convert --to simplified "$(printf '%65532s\360\220\200\200\200' '' >cut4.txt && echo cut4.txt)"
  fails_with 'is the input' convert --to simplified in.txt -o in.txt
  fails_with 'to' convert --to klingon in.txt
  fails_with 'in.txt: not an all-field Unihan image' convert --to simplified in.txt --fields-data in.txt
  fails_with 'no-such.txt' convert --to simplified no-such.txt
  fails_with 'standard input: cannot read \(Is a directory\)' convert --to simplified <.
}

# convert is a filter: each line comes out as soon as it has gone in, and
# a line of any length is converted in bounded pieces, in linear time.
case_convert_stream() {
  python3 - "$tool" <<'PY' || fail "convert in a pipe"
import os, select, subprocess, sys
# A pipe left non-blocking is waited on once its lines are answered; a 1-byte read is no end.
read_end, write_end = os.pipe()
os.set_blocking(read_end, False)
run = subprocess.Popen([sys.argv[1], "convert", "--to", "simplified"], stdin=read_end, stdout=subprocess.PIPE)
for line, expected in ((b"\n", b"\n"), (b"\xe6\xbc\xa2\n\n", b"\xe6\xb1\x89\n\n"), (b"ab\n", b"ab\n")):
    os.write(write_end, line)
    ready, _, _ = select.select([run.stdout], [], [], 30)
    assert ready, "no output while the input stays open"
    assert run.stdout.read(len(expected)) == expected
os.close(write_end)
assert run.wait() == 0
PY
  # Pieces of a 3.6 MB line are cut between characters, up to three bytes back
  # (in a four-byte one), and a column counts across them.
  python3 -c 'import sys; sys.stdout.write("a" + "\U00020000" * 20000 + "發展" * 600000 + "x\n后\n")' >long.txt
  "$tool" convert --to simplified long.txt >long-out.txt
  python3 -c 'import sys; sys.stdout.write("a" + "\U00020000" * 20000 + "发展" * 600000 + "x\n后\n")' >long-expected.txt
  cmp long-out.txt long-expected.txt || fail "a long line in pieces"
  python3 -c 'import sys; sys.stdout.write("a" * 3000000 + "发\n")' | "$tool" convert --to traditional --json >columns.txt
  has "$(cat columns.txt)" '"line":1,"column":3000001,"to":"發"'
  python3 -c 'import sys; sys.stdout.buffer.write(b"a" * 70000 + b"\377")' >bad-long.txt
  fails_with 'line 1: not valid UTF-8: byte 0xFF at offset 70000$' convert --to simplified -o x.txt bad-long.txt
  # Ambiguous characters far apart on one 40 MB line: the report walks the
  # line once (a walk per character took minutes), so this ends in seconds.
  python3 -c 'import sys; sys.stdout.write(("发" + "a" * 5000) * 8000 + "\n")' >wide.txt
  timeout 60 "$tool" convert --to traditional --json wide.txt >wide.json || fail "--json on a wide line"
  [ "$(wc -l <wide.json)" -eq 8000 ] || fail "--json lines: $(wc -l <wide.json)"
  has "$(tail -n 1 wide.json)" '"column":40003000,'
}

# What a search prints is docs/lexicon.md's.
case_search() {
  [ "$("$tool" search --json 'lick lap' | head -n 1)" = '{"codePoint":"U+269FA","char":"𦧺","kDefinition":"(Cant.) to lick, lap up"}' ] ||
    fail "json"
  # Endings and the order of what is found are LexiconRealDataTest's.
  fails_with 'no word in the query' search '4 2;'
  fails_with 'no word in the query' search ''
  fails_with 'not valid UTF-8' search "$(printf 'lick \346')"
  for q in A Z a z; do "$tool" search "$q" >/dev/null || fail "'$q' is a word"; done
}

# What a lookup prints is docs/lexicon.md's; which values match is
# LexiconRealDataTest's.
case_lookup() {
  fails_with 'empty value' lookup kCangjie ''
  fails_with 'holds a space' lookup kCangjie 'ET LO'
  fails_with 'not valid UTF-8' lookup kCangjie "$(printf 'ET\346')"
}

# A lookup that finds nothing exits 1 and prints nothing at all.
finds_nothing() {
  status=0
  "$tool" "$@" >out.txt 2>err.txt || status=$?
  [ "$status" -eq 1 ] || fail "'$*' exited $status, not 1: $(cat err.txt)"
  [ ! -s out.txt ] && [ ! -s err.txt ] || fail "'$*' printed: $(cat out.txt err.txt)"
}

# field kcangjie and reading --field kmandarin are docs/fields.md's and
# docs/tool.md's, and so is a reading of a field the core image lacks; a name
# with no field near is FieldsTextTest's, an empty value tool.fields_field's.
case_unknown_field() {
  wanted=2
  fails_with 'did you mean kHanYu\?' lookup kHnY 10001.010
  fails_with 'did you mean kRSUnicode\?' export --fields kRSUnicod,kDefinition
  fails_with 'did you mean kCantonese\?' reading hon3 --field kCantonesx
}

case_nothing_found() {
  finds_nothing reading zzz
  finds_nothing lookup kCangjie ZZZZZZZZ
  finds_nothing strokes 255
  finds_nothing radical "214'"  # (found, exit 0: the docs' examples)
}

# Every object starts with codePoint and char: whole lines of show, field,
# cid, radical, strokes, reading, lookup and variants are the docs', of search
# case_search's.
case_json() {
  "$tool" show --all 漢 --json |
    grep -q '^{"codePoint":"U+6F22","char":"漢","known":true,.*"virtual":0},"fields":{"kBigFive":"BA7E",' ||
    fail "show --all --json"
  "$tool" strokes 2 --json |
    grep -qxF '{"codePoint":"U+5DDC","char":"巜","totalStrokes":2,"radical":47,"residual":-1}' ||
    fail "strokes --json: a negative residual"
}

# Its lines' shape, in text and JSON, is docs/fields.md's.
case_fields() {
  "$tool" fields >fields.txt
  [ "$(wc -l <fields.txt)" -eq 99 ] || fail "fields: $(wc -l <fields.txt) lines"
  # Every field of the 17.0 data is described.
  if grep -q 'not described' fields.txt; then fail "undescribed: $(grep 'not described' fields.txt)"; fi
  "$tool" fields --json >fields.jsonl
  [ "$(wc -l <fields.jsonl)" -eq 99 ] || fail "fields --json lines"
}

"case_$case_name"
