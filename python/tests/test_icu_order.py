"""The radical-stroke order against ICU's Unihan collation (zh@collation=unihan),
the oracle: every Han character of Unicode 15.0, the release the oracle
knows, and seeded random words of two to four of them, from the 15.0 text.
Skipped where ICU's Python binding is not installed."""

import random

import pytest

import kelvorn_unihan

icu = pytest.importorskip("icu")

WORDS = 100_000
SEED = 20261207


@pytest.fixture(scope="module")
def earlier_text(build_dir):
    path = build_dir / "data" / "unihan-15.0-all.txt"
    if not path.exists():
        pytest.skip("the build did not unpack the 15.0 text")
    return path


@pytest.fixture(scope="module")
def han(earlier_text):
    """Every character with a kRSUnicode value in the 15.0 text."""
    chars = []
    with open(earlier_text, encoding="utf-8") as text:
        for line in text:
            if "\tkRSUnicode\t" in line:
                chars.append(chr(int(line.split("\t", 1)[0][2:], 16)))
    return chars


@pytest.fixture(scope="module")
def strings(han):
    rng = random.Random(SEED)
    words = ["".join(rng.choice(han) for _ in range(rng.randint(2, 4))) for _ in range(WORDS)]
    return han + words


@pytest.fixture(scope="module")
def collator():
    return icu.Collator.createInstance(icu.Locale("zh@collation=unihan"))


def disagreements(ordered, key, collator):
    """Adjacent pairs of our order that ICU orders the other way or ties
    differently: none means the two orders are one."""
    keys = [key(s) for s in ordered]
    out = []
    for i in range(len(ordered) - 1):
        ours = (keys[i] > keys[i + 1]) - (keys[i] < keys[i + 1])
        theirs = collator.compare(ordered[i], ordered[i + 1])
        if ours != (theirs > 0) - (theirs < 0):
            out.append((ordered[i], ordered[i + 1]))
    return out


@pytest.mark.parametrize("loaded", ["text", "image"])
def test_python_keys_order_as_icu(loaded, build_dir, earlier_text, strings, collator):
    """From the text alone, and from the core's 15.0 image with the text for
    the values the core drops (kRSUnicode's marks, kCompatibilityVariant)."""
    image = build_dir / "data" / "unihan-15.0.bin"
    if loaded == "image" and not image.exists():
        pytest.skip("no 15.0 image in the build tree")
    u = (kelvorn_unihan.Unihan(earlier_text) if loaded == "text"
         else kelvorn_unihan.Unihan(image, fields=earlier_text))
    ordered = sorted(strings, key=u.radical_stroke_key)
    assert disagreements(ordered, u.radical_stroke_key, collator)[:10] == []
    # Ties: a compatibility ideograph and its canonical equivalent.
    assert u.radical_stroke_key("\uF967") == u.radical_stroke_key("\u4E0D")
    assert collator.compare("\uF967", "\u4E0D") == 0
