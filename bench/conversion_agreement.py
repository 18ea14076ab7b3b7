#!/usr/bin/env python3
"""How often `unihan convert` writes the character OpenCC writes, on real text.

    bench/conversion_agreement.py UNIHAN_TOOL [--fields-data IMAGE]

The text is every translated string (msgstr) of the zh_CN message catalogues
under /usr/share/locale, one line each. To traditional, the tool's output is
compared with `opencc -c s2t.json` over that text; to simplified, both
convert OpenCC's traditional text back, the tool and `opencc -c t2s.json`.
OpenCC converts by phrases, so it is the better answer wherever a character
has several forms; a figure is the share of Han characters on which the two
agree. Lines that OpenCC made longer or shorter are left out (and counted).

A machine without the catalogues or without opencc prints why and exits 0.
"""

import gettext
import glob
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

CATALOGUES = "/usr/share/locale/zh_CN/LC_MESSAGES/*.mo"


def is_han(c):
    cp = ord(c)
    return (0x3400 <= cp <= 0x9FFF or 0xF900 <= cp <= 0xFAFF or 0x20000 <= cp <= 0x3FFFF)


def catalogue_text(paths):
    lines = []
    for path in paths:
        with open(path, "rb") as f:
            catalogue = gettext.GNUTranslations(f)._catalog  # pylint: disable=protected-access
        lines += [" ".join(v.splitlines()) for k, v in catalogue.items() if k != ""]
    return "\n".join(line for line in lines if line) + "\n"


def run(command, source, target):
    with open(source, "rb") as i, open(target, "wb") as o:
        subprocess.run(command, stdin=i, stdout=o, check=True)
    return target.read_text(encoding="utf-8").split("\n")


def agreement(ours, oracle):
    """(agreeing Han characters, Han characters compared, lines left out)."""
    agree = total = skipped = 0
    for a, b in zip(ours, oracle):
        if len(a) != len(b):
            skipped += 1
            continue
        for x, y in zip(a, b):
            if is_han(y):
                total += 1
                agree += x == y
    return agree, total, skipped


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tool = [sys.argv[1], "convert", *sys.argv[2:]]
    paths = sorted(glob.glob(CATALOGUES))
    if not paths:
        print("conversion agreement: skipped, no zh_CN message catalogues on this machine")
        return
    if shutil.which("opencc") is None:
        print("conversion agreement: skipped, opencc is not installed (scripts/install-deps)")
        return
    with tempfile.TemporaryDirectory() as tmp:
        work = Path(tmp)
        simplified = work / "simplified.txt"
        simplified.write_text(catalogue_text(paths), encoding="utf-8")
        traditional = work / "opencc-traditional.txt"
        oracle_t = run(["opencc", "-c", "s2t.json"], simplified, traditional)
        ours_t = run(tool + ["--to", "traditional"], simplified, work / "ours-t.txt")
        oracle_s = run(["opencc", "-c", "t2s.json"], traditional, work / "opencc-s.txt")
        ours_s = run(tool + ["--to", "simplified"], traditional, work / "ours-s.txt")
    print(f"| Conversion, {len(paths)} zh_CN catalogues | Han characters "
          "| agree with OpenCC | lines left out |")
    print("|---|---|---|---|")
    for name, ours, oracle in (("to traditional (s2t)", ours_t, oracle_t),
                               ("to simplified (t2s of OpenCC's traditional)", ours_s, oracle_s)):
        agree, total, skipped = agreement(ours, oracle)
        print(f"| {name} | {total:,} | {100 * agree / total:.2f}% | {skipped} |")


if __name__ == "__main__":
    main()
