"""Bad arguments and files that cannot be read raise TypeError, ValueError or
OSError with a message that says what was wrong; nothing crashes."""

import os
import pathlib

import pytest

import kelvorn_unihan
from conftest import FIXTURE_TEXT, copy_bundled_image


@pytest.mark.parametrize("char, error, message", [
    ("", ValueError, "expected one character, got a str of length 0"),
    ("漢字", ValueError, "expected one character, got a str of length 2"),
    (-1, ValueError, "code point -1 is outside 0 to 0x10FFFF"),
    (0x110000, ValueError, "code point 1114112 is outside"),
    (2**70, ValueError, "is outside 0 to 0x10FFFF"),
    (1.0, TypeError, "expected a one-character str or an int code point, got float"),
    (None, TypeError, "got NoneType"),
    (b"a", TypeError, "got bytes"),
])
def test_bad_characters(bundled, char, error, message):
    for query in (bundled.total_strokes, bundled.radical_stroke, bundled.hanyu,
                  bundled.cid, bundled.preferred_radical_stroke, bundled.__contains__):
        with pytest.raises(error, match=message):
            query(char)
    with pytest.raises(error, match=message):
        bundled.readings(char, "kMandarin")


@pytest.mark.parametrize("call, error, message", [
    (lambda u: u.radical_stroke("漢", "kMandarin"), ValueError,
     "'kMandarin' is not a radical-stroke source"),
    (lambda u: u.readings("漢", "kRSUnicode"), ValueError, "'kRSUnicode' is not a reading field"),
    (lambda u: u.num_values("漢", "kFoo"), ValueError,
     "'kFoo' is not a Unihan field the library keeps"),
    (lambda u: u.readings("漢", "\ud800"), ValueError, "'\\\\ud800' is not"),
    (lambda u: u.readings("漢", 10), TypeError, "expected a field name"),
    (lambda u: u.cid("漢", -1), ValueError, "value index must not be negative"),
    (lambda u: u.radical_stroke("漢", "kRSUnicode", "0"), TypeError, "value index must be an int"),
    (lambda u: u.char_for_cid("1533"), TypeError, "a CID must be an int"),
    (lambda u: u.set_source_preference(["kRSUnicode"] * 7), ValueError, "at most six sources"),
    (lambda u: u.set_source_preference(["kMandarin"]), ValueError,
     "'kMandarin' is not a radical-stroke source"),
])
def test_bad_fields_and_indexes(bundled, call, error, message):
    with pytest.raises(error, match=message):
        call(bundled)


def test_bad_call_shapes(bundled):
    with pytest.raises(TypeError, match=r"missing required argument 'char'"):
        bundled.radical_stroke()
    with pytest.raises(TypeError, match=r"takes at most 3 arguments \(4 given\)"):
        bundled.radical_stroke("漢", "kRSUnicode", 0, 0)
    with pytest.raises(TypeError, match="unexpected keyword argument 'sauce'"):
        bundled.radical_stroke("漢", sauce="kRSUnicode")
    with pytest.raises(TypeError, match="multiple values for argument 'char'"):
        bundled.total_strokes("漢", char="字")
    with pytest.raises(TypeError, match="missing required argument 'field'"):
        bundled.readings("漢")
    unloaded = kelvorn_unihan.Unihan.__new__(kelvorn_unihan.Unihan)
    calls = [lambda u: u.total_strokes("漢"), lambda u: u.by_radical(85), len, iter,
             lambda u: u.by_strokes(3), lambda u: u.by_reading("han"), lambda u: u.code_points(),
             lambda u: u.radical_stroke_key("漢"), lambda u: u.total_strokes_key("漢"),
             lambda u: u.path, repr, lambda u: u.source_preference(),
             lambda u: u.set_source_preference(["kRSUnicode"]), lambda u: "漢" in u]
    for call in calls:
        with pytest.raises(TypeError, match="never loaded"):
            call(unloaded)


def test_files_that_cannot_be_read(tmp_path):
    with pytest.raises(FileNotFoundError) as missing:
        kelvorn_unihan.Unihan(tmp_path / "absent.bin")
    assert missing.value.filename == str(tmp_path / "absent.bin")
    with pytest.raises(IsADirectoryError):
        kelvorn_unihan.Unihan(tmp_path)
    with pytest.raises(TypeError):
        kelvorn_unihan.Unihan(42)
    # Refused at once, neither read for ever nor waited on.
    fifo = tmp_path / "fifo"
    os.mkfifo(fifo)
    with pytest.raises(ValueError, match="is a FIFO, not a regular file"):
        kelvorn_unihan.Unihan(fifo)
    with pytest.raises(ValueError, match="is a device, not a regular file"):
        kelvorn_unihan.Unihan("/dev/zero")
    # A path that is not UTF-8 is a path like any other.
    with pytest.raises(FileNotFoundError, match="absent"):
        kelvorn_unihan.Unihan(bytes(tmp_path) + b"/\xffabsent.bin")


# What a file's contents make each door refuse, and in which words, is
# tests/doors' (one reason, every door) and AppTest's (the words).


def test_path_forms(tmp_path, fixture_path):
    image = copy_bundled_image(tmp_path)
    for path in (image, str(image), bytes(image)):
        u = kelvorn_unihan.Unihan(path)
        assert u.total_strokes("漢") == 14
        assert u.path == str(image)
    assert repr(kelvorn_unihan.Unihan(fixture_path)) == \
        f"<kelvorn_unihan.Unihan from {str(fixture_path)!r}>"
    assert kelvorn_unihan.Unihan().path == kelvorn_unihan.BUNDLED_IMAGE
    assert pathlib.Path(kelvorn_unihan.BUNDLED_IMAGE).is_file()


def test_edges_of_the_object(tmp_path, fixture_path, bundled):
    # A NUL would cut the path short (loading a.bin from "a.bin\0junk"): it is
    # refused, for the data and for fields=, with the library's words.
    image = copy_bundled_image(tmp_path)
    for args in ((str(image) + "\0junk",), (bytes(image) + b"\0",),
                 (image, str(fixture_path) + "\0x")):
        with pytest.raises(ValueError, match=r"\\0.*: a path cannot hold a NUL byte$"):
            kelvorn_unihan.Unihan(*args)
    # A second __init__ is refused, and the object keeps its data.
    u = kelvorn_unihan.Unihan(image)
    with pytest.raises(TypeError, match="loaded already"):
        u.__init__(fixture_path)
    assert u.total_strokes("漢") == 14 and u.path == str(image)
    # A message names the field as it was given, NUL and all.
    with pytest.raises(ValueError, match=r"no field 'kTotalStrokes\\x00x'"):
        bundled.chars_with("kTotalStrokes\0x", "5")
    # A lone surrogate is no letter of a word.
    assert bundled.search("lick\ud800lap") == bundled.search("lick lap") != ()


def test_text_is_read_once(fixture_path):
    u = kelvorn_unihan.Unihan(fixture_path)
    fixture_path.write_text(FIXTURE_TEXT.replace("kTotalStrokes\t5", "kTotalStrokes\t9"),
                            encoding="utf-8")
    assert u.total_strokes("\u3400") == 5
    assert u.field("\u3400", "kTotalStrokes") == "5"
