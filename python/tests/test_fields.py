"""Every Unihan field from Python: field(), fields() and field_names() on the
bundled data (checked line for line against the text in C++), expanded
values, text loads reading their own fields, and any image given all fields."""

import pytest

import kelvorn_unihan
from conftest import FIXTURE_TEXT


def test_field_values_and_absences(bundled):
    assert len(bundled.field_names()) == 99
    assert bundled.field(0x6F22, "kCangjie") == "ETLO"
    # A name the data does not have is an error naming the nearest field
    # (FieldsTextTest has the rule, docs/python.md the words without expand), so
    # that a typo does not read as "no value".
    with pytest.raises(ValueError, match="no field kdefinition in the data; did you mean"):
        bundled.field("漢", "kdefinition", expand=True)
    with pytest.raises(ValueError, match="did you mean kCangjie"):
        bundled.chars_with("kcangjie", "ETLO")
    assert bundled.fields("A") == {}
    with pytest.raises(TypeError, match="expected a field name"):
        bundled.field("漢", 3)
    with pytest.raises(ValueError):
        bundled.field("漢字", "kDefinition")


def test_text_loads_read_their_own_fields(fixture_path, build_dir, tmp_path):
    small = kelvorn_unihan.Unihan(fixture_path)
    assert small.field("\u3400", "kDefinition") == "not kept"
    assert small.field_names() == sorted(
        {line.split("\t")[1] for line in FIXTURE_TEXT.splitlines() if line.startswith("U+")})
    # A core image alone refuses field() (BundleTest); an explicit all-field
    # source serves any data.
    paired = kelvorn_unihan.Unihan(build_dir / "data" / "unihan-15.0.bin",
                                   fields=kelvorn_unihan.BUNDLED_FIELDS_IMAGE)
    assert paired.field("漢", "kCangjie") == "ETLO"
    missing = kelvorn_unihan.Unihan(fixture_path, fields=tmp_path / "absent.bin")
    with pytest.raises(ValueError, match="absent.bin"):
        missing.field("\u3400", "kDefinition")


def test_expanded_fields(bundled, tmp_path):
    assert bundled.field("漢", "kIRG_GSource", True) == {"source": "G1", "value": "3A3A"}
    assert bundled.field("漢", "kRSUnicode", expand=False) == "85.11"
    # Fields without a grammar answer as without expand.
    raw, expanded = bundled.fields("漢"), bundled.fields("漢", expand=True)
    assert list(expanded) == list(raw) and expanded["kCangjie"] == raw["kCangjie"] == "ETLO"
    with pytest.raises(TypeError):
        bundled.field("漢", "kRSUnicode", True, 4)
    for method, args in ((bundled.field, ("漢", "kRSUnicode")), (bundled.fields, ("漢",))):
        with pytest.raises(TypeError):
            method(*args, expand="yes")
        assert method(*args, expand=1) == method(*args, expand=True)

    # A value outside its grammar comes back as the raw string.
    path = tmp_path / "odd.txt"
    path.write_text("U+3400\tkRSUnicode\t1.4\nU+3400\tkTotalStrokes\t5\n"
                    "U+3400\tkHanYu\t1001.02\nU+3400\tkHanyuPinlu\thé(9513\n", encoding="utf-8")
    odd = kelvorn_unihan.Unihan(path)
    assert odd.field("\u3400", "kHanYu", expand=True) == "1001.02"
    assert odd.fields("\u3400", expand=True) == {
        "kHanYu": "1001.02", "kHanyuPinlu": "hé(9513",
        "kRSUnicode": [{"radical": 1, "simplified": 0, "residual": 4}], "kTotalStrokes": [5]}
