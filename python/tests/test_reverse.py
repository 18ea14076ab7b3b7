"""Reverse lookups and sort keys, on the fixture's edge cases and on known
answers of the bundled data."""

import pytest


def test_reverse_lookups_of_the_fixture(small):
    assert small.code_points() == ["\u3400", "\u3401", "\u3402", "\u3405"]
    assert len(small) == 4 and list(small) == small.code_points()
    assert small.by_radical(47) == ["\u3401"]
    assert small.radical_entries(47) == [("\u3401", -1)]
    assert small.radical_entries(48) == [("\u3401", 2)]  # the second kRSUnicode value
    assert small.by_radical(85) == []
    assert small.radical_entries(85, "kRSKangXi") == [("\u3402", 11)]
    assert small.radical_entries(40, "kRSVantu_Japan1_6") == [("\u3402", 3)]
    assert small.by_strokes(5) == ["\u3400"] and small.by_strokes(6) == []
    assert small.by_strokes(300) == []
    assert small.by_reading("tian4") == ["\u3401"]
    assert small.by_reading("TIAN") == ["\u3401"]  # no tone asked: every tone
    assert small.by_reading("tián") == [] and small.by_reading("tian1") == []
    assert small.by_reading("tiàn", exact=True) == ["\u3401"]
    assert small.by_reading("tian4", exact=True) == []
    assert small.by_reading("kara", "kJapaneseKun") == ["\u3401"]
    assert small.by_reading("kara", "kJapaneseKun", exact=True) == []
    assert small.by_reading("KARA", field="kJapaneseKun", exact=True) == ["\u3401"]


def test_sorting(small):
    words = ["\u3405", "\u3401", "\u3400\u3401", "\u3400", "\u3402"]
    # By radical-stroke: (1, 4), then its longer word, (47, -1), then those
    # without a kRSUnicode value in code-point order.
    assert sorted(words, key=small.radical_stroke_key) == [
        "\u3400", "\u3400\u3401", "\u3401", "\u3402", "\u3405"]
    # By total strokes: 5, 7, then those without a count by radical-stroke key.
    assert sorted(words, key=small.total_strokes_key) == [
        "\u3400", "\u3400\u3401", "\u3405", "\u3401", "\u3402"]
    assert small.radical_stroke_key("\u3401") == ((0, 47, -1, 0x3401),)
    assert small.radical_stroke_key(0x3402) == ((1, 0, 0, 0x3402),)
    assert small.radical_stroke_key("") == ()
    assert small.total_strokes_key("\u3400") == ((0, 5, 0, 1, 4, 0x3400),)
    assert small.total_strokes_key("\u3401") == ((1, 0, 0, 47, -1, 0x3401),)


def test_known_answers_of_the_bundled_data(bundled):
    assert len(bundled) == 102998
    under_water = bundled.radical_entries(85)
    assert ("水", 0) in under_water and ("漢", 11) in under_water
    assert [r for _, r in under_water] == sorted(r for _, r in under_water)
    assert ("\u5DDC", -1) in bundled.radical_entries(47)
    assert "字" in bundled.by_radical(40, "kRSVantu_Japan1_6")
    assert "字" in bundled.by_radical(39, "kRSVantu_Japan1_6")
    assert "漢" in bundled.by_strokes(14)
    assert bundled.by_strokes(1)[:2] == ["一", "\U0002A6D9"]
    assert "漢" in bundled.by_reading("han4") and "漢" in bundled.by_reading("hàn")
    assert "漢" not in bundled.by_reading("han2")
    assert "字" in bundled.by_reading("zi5", "kHanyuPinlu")
    assert "漢" in bundled.by_reading("kan", "kJapaneseOn")
    assert sorted(["漢字", "字", "漢", "A"], key=bundled.radical_stroke_key) == [
        "字", "漢", "漢字", "A"]


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
    with pytest.raises(ValueError, match="not a reading field"):
        bundled.by_reading("han", "kRSUnicode")
    with pytest.raises(ValueError, match="not a radical-stroke source"):
        bundled.by_radical(85, "kTotalStrokes")
    with pytest.raises(ValueError, match="outside 0 to 0x10FFFF"):
        bundled.radical_stroke_key(-1)
    with pytest.raises(TypeError):
        bundled.radical_stroke_key(["漢"])
    with pytest.raises(TypeError):
        bundled.by_strokes("14")
