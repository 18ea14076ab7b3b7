#!/bin/sh
# Cases of the all-field subcommands (compile-fields, field, export), one per
# ctest test, each in a temporary directory removed however it ends.
# Usage: fields-cases.sh CASE TOOL FIELDS_TXT FIELDS_IMAGE
set -eu
case_name=$1 tool=$2 text=$3 image=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh" "$case_name"

case_field() {
  out=$("$tool" field kCangjie 漢字 U+3400 A)
  expected=$(printf 'U+6F22\t漢\tETLO\nU+5B57\t字\tJND\nU+3400\t㐀\tTM\nU+0041\tA\t')
  [ "$out" = "$expected" ] || fail "field kCangjie: $out"
  # A multi-valued field is printed raw, spaces and all.
  has "$("$tool" field kJapanese U+3400)" "$(printf '\tキュウ おか$')"
  # An error is one line, whatever the name it repeats holds.
  fails_with '^unihan: no field kFreq\\nuency in' field "$(printf 'kFreq\nuency')" 漢
  # A value that a crafted image gives a line feed or a CR is escaped, so that
  # each record stays one line; export writes each byte of what is not strict
  # UTF-8 (overlong, a surrogate, past U+10FFFF, cut short) as U+FFFD.
  python3 - "$tool" <<'PY'
import subprocess, sys, zlib
rows = [(b"\xc2\x80", 1), (b"\xdf\xbf", 1), (b"\xe0\xa0\x80", 1), (b"\xe0\x9f\xbf", 0),
        (b"\xed\xa0\x80", 0), (b"\xef\xbf\xbf", 1), (b"\xf0\x90\x80\x80", 1), (b"\xf0\x8f\xbf\xbf", 0),
        (b"\xf4\x90\x80\x80", 0), (b"\xf5\x80", 0), (b"\x80\xe6", 0), (b"A", 1), (b"\xdf\xbf", 1)]
bad = b"".join(b for b, _ in rows)
open("crafted.txt", "w").write("U+4E00\tkX\taQRb\\c\nU+4E01\tkX\t%s\nU+4E02\tkX\tWWWWWW\n" % ("Z" * len(bad)))
subprocess.run([sys.argv[1], "compile-fields", "crafted.txt", "-o", "crafted.bin"], check=True)
data = bytearray(open("crafted.bin", "rb").read())
for old, new in ((b"QR", b"\n\r"), (b"Z" * len(bad), bad), (b"WWWWWW", b"abcd\xe6\xbc")):
    data[data.index(old):data.index(old) + len(old)] = new
data[40:44] = zlib.crc32(bytes(data[48:])).to_bytes(4, "little")
open("crafted.bin", "wb").write(data)
out = subprocess.run([sys.argv[1], "export", "--fields-data", "crafted.bin"], capture_output=True).stdout
kept = "".join(b.decode() if ok else "\\ufffd" * len(b) for b, ok in rows)
assert out.decode().split("\n")[1:3] == ['{"codePoint":"U+4E01","char":"丁","kX":"%s"}' % kept,
                                         '{"codePoint":"U+4E02","char":"丂","kX":"abcd\\ufffd\\ufffd"}'], out
PY
  "$tool" field kX 一 --fields-data crafted.bin >crafted.out
  [ "$(cat crafted.out)" = "$(printf 'U+4E00\t一\t%s' 'a\n\rb\\c')" ] || fail "escaped: $(cat crafted.out)"
  has "$("$tool" fields --fields-data crafted.bin)" '^kX +- +3  \(not described'
  fails_with 'crafted.txt: not an all-field Unihan image' field kX 一 --fields-data crafted.txt
}

# The three forms of the export say the same: every code point of the text
# once, in order, and every line of the text a field of its row, byte for
# byte (the writers' escapes are export_options').
case_export_all() {
  "$tool" export >all.jsonl
  "$tool" export --format json -o all.json
  "$tool" export --format csv -o all.csv
  no_staging_left
  python3 - "$text" all.jsonl all.json all.csv <<'PY'
import csv, json, sys
text_path, jsonl_path, json_path, csv_path = sys.argv[1:]
lines = [l.split("\t", 2) for l in open(text_path, encoding="utf-8") if l.startswith("U+")]
rows = [json.loads(line) for line in open(jsonl_path, encoding="utf-8")]
assert [r["codePoint"] for r in rows] == sorted({l[0] for l in lines}, key=lambda c: int(c[2:], 16))
assert json.load(open(json_path, encoding="utf-8")) == rows
with open(csv_path, encoding="utf-8", newline="") as f:
    table = list(csv.reader(f))
names = table[0][2:]
assert table[0][:2] == ["codePoint", "char"] and names == sorted({l[1] for l in lines})
assert [{"codePoint": line[0], "char": line[1], **{n: v for n, v in zip(names, line[2:]) if v}}
        for line in table[1:]] == rows
by_text = {}
for cp, field, value in lines:
    by_text.setdefault(cp, {"codePoint": cp})[field] = value.rstrip("\n")
for row in rows:
    assert row.pop("char") == chr(int(row["codePoint"][2:], 16)) and row == by_text[row["codePoint"]], row
PY
}

case_export_options() {
  "$tool" export --format csv --fields kTotalStrokes,kCangjie,kTotalStrokes -o some.csv
  [ "$(head -n 2 some.csv)" = "$(printf 'codePoint,char,kCangjie,kTotalStrokes\r\nU+3400,㐀,TM,5\r')" ] ||
    fail "csv: $(head -n 2 some.csv)"
  # A value with a comma is quoted; an absent one is an empty cell.
  has "$(grep '^U+5B57,' some.csv)" '^U\+5B57,字,JND,6'
  "$tool" export --fields kDefinition --format csv >def.csv
  grep -q '^U+5B57,字,"letter, character, word"' def.csv || fail "no quoted definition"
  # With a choice of fields, code points with none of them are left out.
  [ "$("$tool" export --fields kFanqie | wc -l)" -eq "$(grep -c '	kFanqie	' "$text")" ] ||
    fail "kFanqie rows"
  out=$("$tool" export --format json --fields kCompatibilityVariant | head -n 2)
  has "$out" '^\[$'
  has "$out" '^\{"codePoint":"U\+F900","char":"[^"]+","kCompatibilityVariant":"U\+8C48"\},$'
  # Quotes, backslashes, tabs and control bytes are escaped wherever they
  # stand in a value; UTF-8 around them is copied as it is.
  printf 'U+3400\tkDefinition\tq"b\\s\tt\037\177 é漢\364\217\277\277"\n' >esc.txt
  "$tool" compile-fields esc.txt -o esc.bin >/dev/null
  [ "$("$tool" export --fields-data esc.bin)" = \
    "$(printf '{"codePoint":"U+3400","char":"㐀","kDefinition":"q\\"b\\\\s\\tt\\u001f\177 é漢􏿿\\""}')" ] ||
    fail "escapes: $("$tool" export --fields-data esc.bin)"
  # `field` prints a value on one line, its control bytes and DEL in
  # hexadecimal (JSON escapes the bytes below 0x20 alone).
  [ "$("$tool" field kDefinition U+3400 --fields-data esc.bin)" = \
    "$(printf 'U+3400\t㐀\t%s' 'q"b\\s\tt\x1f\x7f é漢􏿿"')" ] ||
    fail "field escapes: $("$tool" field kDefinition U+3400 --fields-data esc.bin)"
  # The last code point's character is written out in either format; a leading space is quoted.
  printf 'U+10FFFF\tkDefinition\t last\n' >last.txt
  "$tool" compile-fields last.txt -o last.bin >/dev/null
  [ "$("$tool" export --format csv --fields-data last.bin | tail -n 1)" = "$(printf 'U+10FFFF,\364\217\277\277," last"\r')" ] &&
    [ "$("$tool" export --fields-data last.bin)" = \
      "$(printf '{"codePoint":"U+10FFFF","char":"\364\217\277\277","kDefinition":" last"}')" ] ||
    fail "U+10FFFF: $("$tool" export --fields-data last.bin)"
  # A failing export leaves no output and no staging file behind.
  echo old >kept.jsonl
  fails_with 'no field kNope' export --fields kCangjie,kNope -o kept.jsonl
  [ "$(cat kept.jsonl)" = old ] || fail "kept.jsonl changed"
  fails_with 'format' export --format xml -o new.jsonl
  no_output_left new.jsonl
  mkfifo fifo && fails_with 'fifo: is a FIFO' export --chars 漢 -o fifo
}

# --expand: the same objects, structured fields as JSON structures (漢's are
# docs/fields.md's, and every 17.0 value's structure is FieldsExpandTest's),
# every other field as it was; the JSON array says the same; CSV is refused
# and writes nothing.
case_export_expand() {
  "$tool" export --fields kDefinition,kRSUnicode,kHanyuPinyin,kIRG_GSource >raw.jsonl
  "$tool" export --expand --fields kDefinition,kRSUnicode,kHanyuPinyin,kIRG_GSource >exp.jsonl
  "$tool" export --expand --format json --fields kRSUnicode -o exp.json
  python3 - <<'PY' || fail "expanded export"
import json
raw = [json.loads(line) for line in open("raw.jsonl", encoding="utf-8")]
exp = [json.loads(line) for line in open("exp.jsonl", encoding="utf-8")]
assert [list(r) for r in raw] == [list(e) for e in exp]
array = json.load(open("exp.json", encoding="utf-8"))
assert [e["kRSUnicode"] for e in array] == [e["kRSUnicode"] for e in exp if "kRSUnicode" in e]
PY
  fails_with '--expand writes JSON structures' export --expand --format csv -o exp.csv
  no_output_left exp.csv
}

# The split files Unicode publishes give the very same image as the merged
# text (line ends, repeats and bad lines are FieldsTextTest's); text with no
# data line gives none.
case_compile_fields() {
  sh "$here/split-unihan.sh" "$text" split
  out=$("$tool" compile-fields split -o split.bin --unicode-version 17.0)
  has "$out" '^split.bin: Unicode 17.0, 102998 code points, 99 fields, [0-9]+ bytes, [0-9]+\.[0-9]{2} s$'
  cmp split.bin "$image" || fail "split files give another image"
  # Values shared between code points are stored once: the image is well
  # under half the text.
  [ $(($(wc -c <split.bin) * 100)) -le $(($(wc -c <"$text") * 40)) ] || fail "the image is too large"
  printf '# only a comment\n' >empty.txt
  fails_with 'no "U\+" data line' compile-fields empty.txt -o empty.bin
  fails_with 'is the input' compile-fields empty.txt -o empty.txt
  no_output_left empty.bin
}

"case_$case_name"
