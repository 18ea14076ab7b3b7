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

# A lookup that finds nothing exits 1 and prints nothing at all.
finds_nothing() {
  status=0
  "$tool" "$@" >out.txt 2>err.txt || status=$?
  [ "$status" -eq 1 ] || fail "'$*' exited $status, not 1: $(cat err.txt)"
  [ ! -s out.txt ] && [ ! -s err.txt ] || fail "'$*' printed: $(cat out.txt err.txt)"
}

case_unknown_field() {
  wanted=2
  fails_with '^unihan: no field kdefinition in the data; did you mean kDefinition\?$' \
    field kdefinition 漢
  fails_with 'did you mean kCangjie\?' lookup kCangjei ETLO
  fails_with 'did you mean kRSUnicode\?' export --fields kRSUnicod,kDefinition
  fails_with '^unihan: no field zzzzzz in the data$' field zzzzzz 漢
  fails_with "^unihan: unknown field 'kmandarin' for a reading lookup; did you mean kMandarin\?$" \
    reading han4 --field kmandarin
  fails_with 'did you mean kCantonese\?' reading hon3 --field kCantonesx
  # A field the core image lacks is read from the all-field image when named.
  "$tool" reading hon3 --field kCantonese | grep -qx 'U+6F22 漢 hon3' || fail "kCantonese hon3"
  # A known field without a value stays an answer: an empty value, exit 0.
  [ "$("$tool" field kCangjie A)" = "$(printf 'U+0041\tA\t')" ] || fail "empty value"
}

case_nothing_found() {
  finds_nothing search zzzqqq
  finds_nothing reading zzz
  finds_nothing lookup kCangjie ZZZZZZZZ
  finds_nothing strokes 99
  finds_nothing radical "214'"
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
  for line in 'radical 85 {"codePoint":"U+6C34","char":"水","radical":85,"residual":0}' \
      'strokes 2 {"codePoint":"U+5DDC","char":"巜","totalStrokes":2,"radical":47,"residual":-1}' \
      'reading han {"codePoint":"U+6F22","char":"漢","readings":["hàn"]}'; do
    # shellcheck disable=SC2086
    "$tool" ${line% *} --json | grep -qxF -- "${line##* }" || fail "${line% *} --json"
  done
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
