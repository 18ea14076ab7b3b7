#!/usr/bin/python3
"""Sorting words in radical-stroke order in Python: the module's byte keys
against ICU's Unihan collation (zh@collation=unihan), the order they share.

    PYTHONPATH=<build>/python /usr/bin/python3 bench/python_sort_bench.py \
        <build>/data/unihan-15.0-all.txt

Both sides sort the same 100,000 seeded random words of two to four Han
characters of the text (the 15.0 text: the release the ICU of this system
knows), each with sorted(words, key=...), and must answer the same order.
Target: sorted(words, key=u.radical_stroke_key) takes at most the time of
sorted(words, key=collator.getSortKey). Exits 1 when it is missed, 2 when
ICU's Python binding is not installed.
"""

import argparse
import random
import sys

import kelvorn_unihan
from python_bench import best_of

TARGET = 1.0


def han_of(path):
    chars = []
    with open(path, encoding="utf-8") as text:
        for line in text:
            if "\tkRSUnicode\t" in line:
                chars.append(chr(int(line.split("\t", 1)[0][2:], 16)))
    return chars


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("text", help="the Unihan text (e.g. <build>/data/unihan-15.0-all.txt)")
    parser.add_argument("--words", type=int, default=100_000)
    parser.add_argument("--repeats", type=int, default=5)
    args = parser.parse_args()
    try:
        import icu
    except ImportError:
        print("no ICU binding for this Python (python3-icu): nothing to compare with",
              file=sys.stderr)
        return 2
    collator = icu.Collator.createInstance(icu.Locale("zh@collation=unihan"))
    unihan = kelvorn_unihan.Unihan(args.text)
    han = han_of(args.text)
    rng = random.Random(20261207)
    words = ["".join(rng.choice(han) for _ in range(rng.randint(2, 4)))
             for _ in range(args.words)]
    mine = sorted(words, key=unihan.radical_stroke_key)  # builds the index outside the clock
    theirs = sorted(words, key=collator.getSortKey)
    assert mine == theirs, "the two orders differ"
    icu_time = best_of(args.repeats, lambda: sorted(words, key=collator.getSortKey))
    our_time = best_of(args.repeats, lambda: sorted(words, key=unihan.radical_stroke_key))
    ratio = our_time / icu_time
    print(f"{len(words)} words; sorted(key=...)   ICU getSortKey {icu_time * 1e3:.1f} ms   "
          f"radical_stroke_key {our_time * 1e3:.1f} ms   ratio {ratio:.3f} (target {TARGET:.3f})"
          + ("  MISSED" if ratio > TARGET else ""))
    return 1 if ratio > TARGET else 0


if __name__ == "__main__":
    sys.exit(main())
