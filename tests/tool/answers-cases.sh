#!/bin/sh
# Answers a user can act on, on the bundled 17.0 data: unknown field names
# are refused naming the nearest field (exit 2), lookups that find nothing
# exit 1 and print nothing, every subcommand that prints characters speaks
# JSON starting with codePoint and char, and `fields` lists every field.
# Usage: answers-cases.sh CASE TOOL
set -eu
case_name=$1 tool=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$case_name"

# The command exits with $1, prints nothing on stdout and, for 2, one line
# on stderr matching $2; for 1, nothing on stderr either.
exits() {
  want=$1 pattern=$2
  shift 2
  set +e
  "$tool" "$@" >out.txt 2>err.txt
  status=$?
  set -e
  [ "$status" -eq "$want" ] || fail "'$*' exited $status, not $want: $(cat err.txt)"
  [ ! -s out.txt ] || fail "'$*' printed on stdout: $(cat out.txt)"
  if [ -z "$pattern" ]; then
    [ ! -s err.txt ] || fail "'$*' printed on stderr: $(cat err.txt)"
  else
    [ "$(wc -l <err.txt)" -eq 1 ] || fail "'$*' stderr is not one line: $(cat err.txt)"
    grep -Eq -- "$pattern" err.txt || fail "'$*': expected '$pattern', got: $(cat err.txt)"
  fi
}

case_unknown_field() {
  exits 2 '^unihan: no field kdefinition in the data; did you mean kDefinition\?$' \
    field kdefinition 漢
  exits 2 'did you mean kCangjie\?' lookup kCangjei ETLO
  exits 2 'did you mean kRSUnicode\?' export --fields kRSUnicod,kDefinition
  exits 2 '^unihan: no field zzzzzz in the data$' field zzzzzz 漢
  exits 2 "^unihan: unknown field 'kmandarin' for a reading lookup; did you mean kMandarin\?$" \
    reading han4 --field kmandarin
  exits 2 'did you mean kCantonese\?' reading hon3 --field kCantonesx
  # A field the core image lacks is read from the all-field image when named.
  "$tool" reading hon3 --field kCantonese | grep -qx 'U+6F22 漢 hon3' || fail "kCantonese hon3"
  # A known field without a value stays an answer: an empty value, exit 0.
  [ "$("$tool" field kCangjie A)" = "$(printf 'U+0041\tA\t')" ] || fail "empty value"
}

case_nothing_found() {
  exits 1 '' search zzzqqq
  exits 1 '' reading zzz
  exits 1 '' lookup kCangjie ZZZZZZZZ
  exits 1 '' strokes 99
  exits 1 '' radical "214'"
  # Found: exit 0 with answers.
  "$tool" search dragon >out.txt
  grep -q '^U+9F8D 龍 ' out.txt || fail "search dragon: $(head -3 out.txt)"
}

case_json() {
  # Every object starts with codePoint and char, show's too.
  for args in "show 漢" "show --all 漢" "field kCangjie 漢" "cid 1533" "radical 85" \
              "strokes 14" "reading han4" "search lick" "lookup kCangjie ETLO" "variants 漢"; do
    # shellcheck disable=SC2086
    "$tool" $args --json >out.txt || fail "$args --json failed"
    [ -s out.txt ] || fail "$args --json printed nothing"
    if grep -v '^{"codePoint":"U+[0-9A-F]*","char":"' out.txt | grep -q .; then
      fail "$args --json: $(head -n 2 out.txt)"
    fi
  done
  [ "$("$tool" field kCangjie 漢 A --json)" = '{"codePoint":"U+6F22","char":"漢","kCangjie":"ETLO"}
{"codePoint":"U+0041","char":"A","kCangjie":null}' ] || fail "field --json"
  [ "$("$tool" cid 1533 --json)" = '{"codePoint":"U+6F22","char":"漢","cid":1533}' ] ||
    fail "cid --json: $("$tool" cid 1533 --json)"
}

case_fields() {
  "$tool" fields >fields.txt
  [ "$(wc -l <fields.txt)" -eq 99 ] || fail "fields: $(wc -l <fields.txt) lines"
  has "$(cat fields.txt)" '^kCangjie +Unihan_DictionaryLikeData.txt +29189  Cangjie input code$'
  # Every field of the 17.0 data is described.
  if grep -q 'not described' fields.txt; then fail "undescribed: $(grep 'not described' fields.txt)"; fi
  "$tool" fields --json >fields.jsonl
  [ "$(wc -l <fields.jsonl)" -eq 99 ] || fail "fields --json lines"
  has "$(cat fields.jsonl)" '^\{"field":"kMandarin","file":"Unihan_Readings.txt","characters":44348,"structured":true,"description":"'
}

"case_$case_name"
