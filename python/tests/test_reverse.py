"""Reverse lookups and sort keys from Python: the arguments they take, the
shapes they answer in and the errors they raise."""

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


def test_sort_keys(small):
    # Bytes (their layout and order are IndexOrderTest's), of a str or a code point.
    assert small.radical_stroke_key("\u3400\u3401") == b"\x00\x00\x01\x00\x00\x02"
    assert small.radical_stroke_key(0x3402) == b"\x80\x34\x02"
    assert small.radical_stroke_key("") == b""
    # By total strokes: 5, 7, then those without a count.
    assert small.total_strokes_key("\u3400") < small.total_strokes_key(0x3405) < \
        small.total_strokes_key("\u3401")


def test_bundled_lookups(bundled):
    """A reading field the core image lacks, read from the all-field image,
    and marks= (120' is 纟); the tables are the index's (IndexTest)."""
    assert "漢" in bundled.by_reading("ho", "kCantonese", prefix=True)
    simplified = bundled.by_radical(120, marks=1)
    assert simplified[0] == "纟" and "紅" not in simplified
    assert bundled.radical_entries(120, marks=1)[0] == ("纟", 0)
    with pytest.raises(ValueError, match="marks= asks kRSUnicode"):
        bundled.by_radical(120, "kRSVantu_Japan1_6", marks=1)


@pytest.mark.parametrize("call, error, message", [
    (lambda u: u.by_radical(0), ValueError, "radical must be 1 to 214"),
    (lambda u: u.radical_entries(215), ValueError, "radical must be 1 to 214"),
    (lambda u: u.by_strokes(0), ValueError, "stroke count must be at least 1"),
    (lambda u: u.by_reading(""), ValueError, "empty reading"),
    (lambda u: u.by_reading("han", "kRSUnicode"), ValueError,
     "unknown field 'kRSUnicode' for a reading lookup"),
    (lambda u: u.by_radical(85, "kTotalStrokes"), ValueError, "not a radical-stroke source"),
    (lambda u: u.radical_stroke_key(-1), ValueError, "outside 0 to 0x10FFFF"),
    (lambda u: u.radical_stroke_key(["漢"]), TypeError, ""),
    (lambda u: u.by_strokes("14"), TypeError, ""),
])
def test_bad_reverse_arguments(bundled, call, error, message):
    with pytest.raises(error, match=message):
        call(bundled)


def test_frequency_order_arguments(bundled, tmp_path):
    """The order is the index's (IndexTest), its fallback the search's order
    (LexiconRealDataTest, on the whole data); here what the binding takes and
    gives back."""
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
    path = tmp_path / "pinlu.txt"
    path.write_text("U+4E05\tkRSUnicode\t1.0\nU+4E05\tkHanyuPinlu\tshì(1000)\n", encoding="utf-8")
    assert kelvorn_unihan.Unihan(path).by_reading("shi4") == ("\u4E05",)


def test_frequency_order_needs_every_field(tmp_path):
    image = copy_bundled_image(tmp_path)
    u = kelvorn_unihan.Unihan(image)
    assert "是" in u.by_reading("shi4")
    with pytest.raises(ValueError, match="twelve fields"):
        u.by_reading("shi4", order="frequency")
    with_fields = kelvorn_unihan.Unihan(image, fields=kelvorn_unihan.BUNDLED_FIELDS_IMAGE)
    assert with_fields.by_reading("shi4", order="frequency")[:2] == ("是", "事")
