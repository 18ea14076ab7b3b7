"""Every Unihan field from Python: field(), fields() and field_names() agree
with the Unihan text, line for line, for every code point of the bundled
data; text loads read their own fields; a core image refuses."""

import collections

import pytest

import kelvorn_unihan
from conftest import FIXTURE_TEXT


@pytest.fixture(scope="module")
def text_fields(build_dir):
    """{code point: {field: value}} read straight from the bundled text."""
    path = build_dir / "data" / f"unihan-{kelvorn_unihan.UNICODE_VERSION}-all.txt"
    table = collections.defaultdict(dict)
    with open(path, encoding="utf-8") as text:
        for line in text:
            if line.startswith("U+"):
                code, field, value = line.rstrip("\n").split("\t", 2)
                table[int(code[2:], 16)][field] = value
    return table


def test_every_field_of_every_code_point(bundled, text_fields):
    names = set()
    for cp, expected in text_fields.items():
        assert bundled.fields(cp) == dict(sorted(expected.items())), hex(cp)
        names.update(expected)
    assert bundled.field_names() == sorted(names)
    assert len(bundled.field_names()) == 99


def test_field_values_and_absences(bundled):
    assert bundled.field("漢", "kDefinition") == "the Chinese people, Chinese language"
    assert bundled.field(0x6F22, "kCangjie") == "ETLO"
    assert bundled.field("漢", "kRSKangXi") is None  # gone since Unicode 15.1
    assert bundled.field("A", "kDefinition") is None
    assert bundled.field("漢", "kNoSuchField") is None
    assert bundled.fields("A") == {}
    with pytest.raises(TypeError, match="expected a field name"):
        bundled.field("漢", 3)
    with pytest.raises(ValueError):
        bundled.field("漢字", "kDefinition")


def test_text_loads_read_their_own_fields(fixture_path, build_dir, workdir):
    small = kelvorn_unihan.Unihan(fixture_path)
    assert small.field("\u3400", "kDefinition") == "not kept"
    assert small.field_names() == sorted(
        {line.split("\t")[1] for line in FIXTURE_TEXT.splitlines() if line.startswith("U+")})
    earlier = kelvorn_unihan.Unihan(build_dir / "data" / "unihan-15.0.bin")
    with pytest.raises(ValueError, match="keeps twelve fields only"):
        earlier.field("漢", "kDefinition")
    # An explicit all-field source serves any data.
    paired = kelvorn_unihan.Unihan(build_dir / "data" / "unihan-15.0.bin",
                                   fields=kelvorn_unihan.BUNDLED_FIELDS_IMAGE)
    assert paired.field("漢", "kCangjie") == "ETLO"
    missing = kelvorn_unihan.Unihan(fixture_path, fields=workdir / "absent.bin")
    with pytest.raises(ValueError, match="absent.bin"):
        missing.field("\u3400", "kDefinition")
