#!/usr/bin/python3
"""Python module against the way Python code reads Unihan without it: parse
the text into a dict of dicts and parse the stored string on every lookup.

    PYTHONPATH=<build>/python /usr/bin/python3 bench/python_bench.py \
        <build>/data/unihan-17.0-all.txt

Both sides run in this process on the same characters. Targets: loading the
bundled image takes at most 1/20 of building the dict from the text, and
total_strokes / radical_stroke at most 0.3x the time of the dict lookup,
field() at most the dict's, and by_reading at most 2x a dict.get that hands
back a prebuilt list.

The lexicon has targets of its own: to_simplified at least 100 MB/s of mixed
text (UTF-8 bytes), a one-word search at most 50 us, and chars_with at most
2x a dict.get that answers a prebuilt list.

The same run times `unihan export --format jsonl -o FILE` (the build's tool,
found next to the package in a build tree, or named with --tool), start to
exit, against the standard library doing the same job: the text read into
a dict of dicts and written out as JSON Lines with json.dumps. Both files
must be the same bytes; the tool's target is at most 1/10 of the time.
Exits 1 when a target is missed.
"""

import argparse
import json
import os
import pathlib
import random
import subprocess
import sys
import tempfile
import time

import kelvorn_unihan

LOAD_TARGET = 1 / 20
QUERY_TARGET = 0.3
FIELDS_LOAD_TARGET = 1 / 100
# Load and the first reverse lookup, which opens the index saved beside the
# images: the load itself, plus a few milliseconds.
REVERSE_LOAD_TARGET = 1 / 10
FIELD_TARGET = 1.0
EXPORT_TARGET = 1 / 10
LOOKUP_TARGET = 2.0
CONVERT_TARGET_MB_S = 100
SEARCH_TARGET_US = 50
CHARS_WITH_TARGET = 2.0


def load_dict(path):
    """The plain loader: every field of every code point, values as written."""
    data = {}
    with open(path, encoding="utf-8") as text:
        for line in text:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            data.setdefault(int(code[2:], 16), {})[field] = value
    return data


def export_jsonl(text_path, out_path):
    """What `unihan export --format jsonl` writes, with the standard library:
    per code point, in code-point order, its fields in name order."""
    data = load_dict(text_path)
    with open(out_path, "w", encoding="utf-8") as out:
        for cp in sorted(data):
            record = {"codePoint": f"U+{cp:04X}", "char": chr(cp)}
            record.update(sorted(data[cp].items()))
            out.write(json.dumps(record, ensure_ascii=False, separators=(",", ":")))
            out.write("\n")


def export_rows(tool, text_path, repeats):
    """Both exports, best of `repeats` each, and a check that they agree."""
    with tempfile.TemporaryDirectory(prefix="kelvorn-bench-") as work:
        theirs, mine = os.path.join(work, "python.jsonl"), os.path.join(work, "tool.jsonl")
        command = [tool, "export", "--format", "jsonl", "-o", mine]
        python_time = best_of(repeats, lambda: export_jsonl(text_path, theirs))
        tool_time = best_of(repeats * 4, lambda: subprocess.run(command, check=True))
        with open(theirs, "rb") as a, open(mine, "rb") as b:
            assert a.read() == b.read(), "the two exports differ"
    return ("export jsonl", python_time * 1e3, tool_time * 1e3, "ms", EXPORT_TARGET)


def default_tool():
    """<build>/tools/unihan when the package is the build tree's copy."""
    tool = pathlib.Path(kelvorn_unihan.__file__).resolve().parents[2] / "tools" / "unihan"
    return str(tool) if tool.is_file() else None


def dict_queries(data):
    def total_strokes(char):
        record = data.get(ord(char))
        value = record and record.get("kTotalStrokes")
        return int(value.split(" ", 1)[0]) if value else None

    def radical_stroke(char):
        record = data.get(ord(char))
        value = record and record.get("kRSUnicode")
        if not value:
            return None
        radical, residual = value.split(" ", 1)[0].split(".")
        return int(radical.rstrip("'")), int(residual)

    return total_strokes, radical_stroke


def best_of(repeats, run):
    """Best wall time of run(); what it returns is freed outside the clock."""
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        result = run()
        best = min(best, time.perf_counter() - start)
        del result
    return best


def per_call_ns(function, chars, repeats):
    def run():
        for char in chars:
            function(char)
    return best_of(repeats, run) / len(chars) * 1e9


def mixed_text(size=4 << 20):
    """Mixed text as bench/LexiconBench.cpp makes it: runs of 1 to 12
    characters of the URO between ASCII words, lines of some 60 bytes."""
    rng = random.Random(20231207)
    words = ["the ", "Unicode ", "2024, ", "font ", "(x) ", "ok. "]
    pieces, length, line = [], 0, 0
    while length < size:
        run = "".join(chr(rng.randint(0x4E00, 0x9FA5)) for _ in range(rng.randint(1, 12)))
        piece = run + rng.choice(words)
        line += len(piece.encode())
        if line > 60:
            piece += "\n"
            line = 0
        pieces.append(piece)
        length += len(piece.encode())
    return "".join(pieces)


def lexicon_rows(unihan, data, repeats):
    """(name, measured, unit, target, missed) rows of the lexicon."""
    text = mixed_text()
    size = len(text.encode())
    rows = []
    for name, method in (("to_simplified", unihan.to_simplified),
                         ("to_traditional", unihan.to_traditional)):
        method(text)  # builds the table
        seconds = best_of(repeats, lambda: method(text))
        rate = size / seconds / 1e6
        rows.append((name, rate, "MB/s", f">= {CONVERT_TARGET_MB_S}", rate < CONVERT_TARGET_MB_S))

    words = sorted({w.lower() for fields in data.values()
                    for w in "".join(c if c.isascii() and c.isalpha() else " "
                                     for c in fields.get("kDefinition", "")).split()})
    sample = words[::max(1, len(words) // 2000)]
    search = unihan.search
    first = best_of(1, lambda: [search(w) for w in sample]) / len(sample) * 1e6
    again = per_call_ns(search, sample, repeats) / 1e3
    rows.append(("search, 1 word", again, "us", f"<= {SEARCH_TARGET_US}", again > SEARCH_TARGET_US))
    rows.append(("  first ask", first, "us", "", False))

    values = sorted({v for fields in data.values() for v in fields.get("kCangjie", "").split()})
    prebuilt = {v: list(unihan.chars_with("kCangjie", v)) for v in values}
    get = prebuilt.get
    chars_with = unihan.chars_with
    theirs = per_call_ns(get, values, repeats)
    mine = per_call_ns(lambda v: chars_with("kCangjie", v), values, repeats)
    plain = per_call_ns(lambda v: get(v), values, repeats)
    ratio = mine / plain
    rows.append(("chars_with", mine, "ns", f"<= {CHARS_WITH_TARGET}x dict.get",
                 ratio > CHARS_WITH_TARGET))
    rows.append(("  dict.get", plain, "ns", f"ratio {ratio:.2f}; bare get {theirs:.0f} ns", False))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("text", help="the Unihan text (e.g. <build>/data/unihan-17.0-all.txt)")
    parser.add_argument("--repeats", type=int, default=5)
    parser.add_argument("--tool", default=default_tool(),
                        help="the unihan tool (default: the build tree's, next to the package)")
    args = parser.parse_args()

    dict_load = best_of(3, lambda: load_dict(args.text))
    image_load = best_of(args.repeats * 4, kelvorn_unihan.Unihan)
    data = load_dict(args.text)
    unihan = kelvorn_unihan.Unihan()
    chars = unihan.code_points()
    assert len(chars) > 90000, "the bundled image should hold the full data"

    dict_total, dict_radical = dict_queries(data)
    for char in chars[::97]:  # the two sides must answer alike to be compared
        assert unihan.total_strokes(char) == dict_total(char), char
        assert unihan.radical_stroke(char) == dict_radical(char), char

    def open_with_fields():
        u = kelvorn_unihan.Unihan()
        return u.field("\u6F22", "kDefinition")

    def open_with_page():
        # The index saved beside the bundled images is opened, not built.
        return kelvorn_unihan.Unihan().by_radical(85)

    first_field = best_of(args.repeats * 4, open_with_fields)
    first_page = best_of(args.repeats * 4, open_with_page)
    rows = [("load", dict_load * 1e3, image_load * 1e3, "ms", LOAD_TARGET),
            ("load+field()", dict_load * 1e3, first_field * 1e3, "ms", FIELDS_LOAD_TARGET),
            ("load+by_radical", dict_load * 1e3, first_page * 1e3, "ms", REVERSE_LOAD_TARGET)]
    for name, mine, theirs in (("total_strokes", unihan.total_strokes, dict_total),
                               ("radical_stroke", unihan.radical_stroke, dict_radical)):
        rows.append((name, per_call_ns(theirs, chars, args.repeats),
                     per_call_ns(mine, chars, args.repeats), "ns", QUERY_TARGET))
    # Every field: the raw value against the same value out of a dict of
    # dicts, d[cp].get(field), which does no work at all on the string.
    keyed = {char: data.get(ord(char), {}) for char in chars}
    rows.append(("field", per_call_ns(lambda c: keyed[c].get("kDefinition"), chars, args.repeats),
                 per_call_ns(lambda c: unihan.field(c, "kDefinition"), chars, args.repeats), "ns",
                 FIELD_TARGET))
    # A reverse lookup against a dict.get that hands back a prebuilt list:
    # every reading kMandarin has, each asked once before the clock starts.
    readings = sorted({r for values in data.values() for r in values.get("kMandarin", "").split()})
    prebuilt = {r: list(unihan.by_reading(r)) for r in readings}
    rows.append(("by_reading", per_call_ns(prebuilt.get, readings, args.repeats),
                 per_call_ns(unihan.by_reading, readings, args.repeats), "ns", LOOKUP_TARGET))
    if args.tool:
        rows.append(export_rows(args.tool, args.text, max(args.repeats // 2, 1)))
    else:
        print("no unihan tool found (--tool): the export is not timed", file=sys.stderr)
    loop = per_call_ns(lambda char: None, chars, args.repeats)

    print(f"{len(chars)} characters; a Python loop calling a no-op costs {loop:.0f} ns a character")
    print(f"{'':16}{'dict':>12}{'kelvorn_unihan':>16}{'ratio':>8}{'target':>8}")
    missed = False
    for name, theirs, mine, unit, target in rows:
        ratio = mine / theirs
        missed |= ratio > target
        print(f"{name:16}{theirs:>9.1f} {unit}{mine:>13.1f} {unit}{ratio:>8.3f}{target:>8.3f}"
              + ("  MISSED" if ratio > target else ""))
    print()
    print(f"lexicon{'':9}{'measured':>12}  target")
    for name, measured, unit, target, miss in lexicon_rows(unihan, data, args.repeats):
        missed |= miss
        print(f"{name:16}{measured:>9.1f} {unit:4}  {target}" + ("  MISSED" if miss else ""))
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
