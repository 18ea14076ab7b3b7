"""Reverse lookups and sort keys, on the fixture's edge cases and on known
answers of the bundled data."""

import pytest

import kelvorn_unihan
from conftest import copy_bundled_image


def test_reverse_lookups_of_the_fixture(small):
    """The binding's arguments and answers; the matching rules themselves are
    the index's, tested in C++ (IndexTest)."""
    assert small.code_points() == ["\u3400", "\u3401", "\u3402", "\u3405"]
    assert len(small) == 4 and list(small) == small.code_points()
    assert small.by_radical(47) == ["\u3401"]
    assert small.radical_entries(47) == [("\u3401", -1)]
    assert small.radical_entries(85, "kRSKangXi") == [("\u3402", 11)]
    assert small.radical_entries(40, "kRSVantu_Japan1_6") == [("\u3402", 3)]
    assert small.by_strokes(5) == ["\u3400"]
    assert small.by_reading("tian4") == small.by_reading("tiàn", exact=True) == ("\u3401",)
    assert small.by_reading("KARA", field="kJapaneseKun", exact=True) == ("\u3401",)
    assert small.by_reading("kara", "kJapaneseKun", exact=True) == ()
    assert small.by_reading("TI4", prefix=True) == ("\u3401",)
    with pytest.raises(ValueError, match="exact and prefix"):
        small.by_reading("ti", exact=True, prefix=True)
    with pytest.raises(TypeError, match="prefix must be a bool"):
        small.by_reading("ti", prefix=1)


def test_sorting(small):
    words = ["\u3405", "\u3401", "\u3400\u3401", "\u3400", "\u3402"]
    # By radical-stroke: (1, 4), then its longer word, (47, -1), then those
    # without a kRSUnicode value in code-point order.
    assert sorted(words, key=small.radical_stroke_key) == [
        "\u3400", "\u3400\u3401", "\u3401", "\u3402", "\u3405"]
    # By total strokes: 5, 7, then those without a count by radical-stroke key.
    assert sorted(words, key=small.total_strokes_key) == [
        "\u3400", "\u3400\u3401", "\u3405", "\u3401", "\u3402"]
    # Bytes: three a character, its rank among those with a value, or 0x80
    # and the code point; total strokes (256 for none) in two bytes before it.
    assert small.radical_stroke_key("\u3400\u3401") == b"\x00\x00\x01\x00\x00\x02"
    assert small.radical_stroke_key(0x3402) == b"\x80\x34\x02"
    assert small.radical_stroke_key("a") == b"\x80\x00\x61"
    assert small.radical_stroke_key("") == b""
    assert small.total_strokes_key("\u3400") == b"\x00\x05\x00\x00\x01"
    assert small.total_strokes_key("\u3401") == b"\x01\x00\x00\x00\x02"


def test_known_answers_of_the_bundled_data(bundled):
    """One answer of each kind: the tables themselves are the index's,
    checked on the whole data in test_real_data and in C++."""
    assert ("漢", 11) in bundled.radical_entries(85)
    assert "字" in bundled.by_radical(40, "kRSVantu_Japan1_6")
    assert bundled.by_strokes(1)[:2] == ["一", "\U0002A6D9"]
    assert "行" in bundled.by_reading("hang2")  # the dictionaries' fields, not kMandarin
    # Each reading field the binary image lacks is named by its field.
    for field, query, options in (("kCantonese", "ho", {"prefix": True}),
                                  ("kKorean", "HAN", {"exact": True}), ("kTang", "xɑ̀n", {})):
        assert "漢" in bundled.by_reading(query, field, **options), field
    assert bundled.by_reading("hon3", "kCantonese", order="frequency")[:2] == ("汉", "漢")


def test_simplified_radicals(bundled):
    """120' (纟) follows 120's own characters on 120's page, and marks= answers
    either part alone."""
    simplified = bundled.by_radical(120, marks=1)
    assert simplified[0] == "纟" and "红" in simplified and "紅" not in simplified
    assert bundled.by_radical(120) == bundled.by_radical(120, marks=0) + simplified
    assert bundled.radical_entries(120, marks=1)[0] == ("纟", 0)
    assert bundled.by_radical(120, marks=3) == []
    with pytest.raises(ValueError, match="marks= asks kRSUnicode"):
        bundled.by_radical(120, "kRSVantu_Japan1_6", marks=1)


def test_bad_reverse_arguments(bundled):
    for radical in (0, 215, -1):
        with pytest.raises(ValueError, match="radical must be 1 to 214"):
            bundled.by_radical(radical)
        with pytest.raises(ValueError, match="radical must be 1 to 214"):
            bundled.radical_entries(radical)
    with pytest.raises(ValueError, match="stroke count must be at least 1"):
        bundled.by_strokes(0)
    with pytest.raises(ValueError, match="empty reading"):
        bundled.by_reading("")
    with pytest.raises(ValueError, match="unknown field 'kRSUnicode' for a reading lookup"):
        bundled.by_reading("han", "kRSUnicode")
    with pytest.raises(ValueError, match="did you mean kCantonese"):
        bundled.by_reading("hon3", "kCantonesx")
    with pytest.raises(ValueError, match="not a radical-stroke source"):
        bundled.by_radical(85, "kTotalStrokes")
    with pytest.raises(ValueError, match="outside 0 to 0x10FFFF"):
        bundled.radical_stroke_key(-1)
    with pytest.raises(TypeError):
        bundled.radical_stroke_key(["漢"])
    with pytest.raises(TypeError):
        bundled.by_strokes("14")


def test_frequency_order_arguments(bundled, workdir):
    """The order itself is the index's (IndexTest, and every counted reading
    below); here what the binding takes and gives back."""
    first = bundled.by_reading("shi4", order="frequency")
    assert first[:2] == ("是", "事") and sorted(first) == sorted(bundled.by_reading("shi4"))
    assert bundled.by_reading("shi4", order="frequency") is first  # kept by its question

    class Reading(str):
        pass
    assert bundled.by_reading(Reading("shi4")) == bundled.by_reading("shi4")
    with pytest.raises(ValueError, match="order must be"):
        bundled.by_reading("shi4", order="Frequency")
    with pytest.raises(TypeError, match="exact must be a bool"):
        bundled.by_reading("shi4", exact=1)
    with pytest.raises(TypeError, match="reading"):
        bundled.by_reading(b"shi4")
    # kMandarin lookups search kHanyuPinlu's readings too, of a text as well.
    path = workdir / "pinlu.txt"
    path.write_text("U+4E05\tkRSUnicode\t1.0\nU+4E05\tkHanyuPinlu\tshì(1000)\n", encoding="utf-8")
    assert kelvorn_unihan.Unihan(path).by_reading("shi4") == ("\u4E05",)


def test_frequency_order_needs_every_field(workdir):
    image = copy_bundled_image(workdir)
    u = kelvorn_unihan.Unihan(image)
    assert "是" in u.by_reading("shi4")
    with pytest.raises(ValueError, match="twelve fields"):
        u.by_reading("shi4", order="frequency")
    with_fields = kelvorn_unihan.Unihan(image, fields=kelvorn_unihan.BUNDLED_FIELDS_IMAGE)
    assert with_fields.by_reading("shi4", order="frequency")[:2] == ("是", "事")


def pinlu_counts(u):
    counts = {}
    for char in u.code_points():
        value = u.field(char, "kHanyuPinlu")
        for piece in value.split(" ") if value else ():
            reading, count = piece[:-1].split("(")
            counts[(char, reading)] = max(counts.get((char, reading), 0), int(count))
    return counts


def test_frequency_order_of_every_counted_reading(bundled):
    """Every reading kHanyuPinlu counts, asked exactly in both pinyin fields,
    against the order computed from the text's counts: the reading's count,
    then, as search ranks, all the character's counts and then
    kUnihanCore2020's regions, then radical-stroke."""
    counts = pinlu_counts(bundled)
    totals = {}
    for (char, _), count in counts.items():
        totals[char] = totals.get(char, 0) + count

    def fallback(char):
        if char in totals:
            return (1, -totals[char])
        regions = bundled.field(char, "kUnihanCore2020")
        return (2, -len(regions)) if regions else (3, 0)
    for reading in sorted({r for _, r in counts}):
        for field in ("kHanyuPinlu", "kMandarin"):
            found = bundled.by_reading(reading, field, exact=True)

            def rank(char):
                count = counts.get((char, reading), 0)
                return (0, -count) if count else fallback(char), bundled.radical_stroke_key(char)
            assert bundled.by_reading(reading, field, exact=True, order="frequency") == tuple(
                sorted(found, key=rank)), (reading, field)
