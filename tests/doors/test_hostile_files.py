"""Hostile files through every door. One set of files, made here from the real
images (damaged with the old checksum, forged with a recomputed one, cut
short, empty, of a foreign magic), goes through the C++ API (the open_file
program), the unihan tool and the Python module; each door must refuse each
file with the same reason, or answer it alike. Then the files under a live
reader: an index compiled after the core image was replaced must not be
taken for the data a reader loaded before."""

import os
import pathlib
import shutil
import struct
import subprocess
import tempfile
import zlib

import pytest

import kelvorn_unihan

BUILD = pathlib.Path(os.environ.get("KELVORN_BUILD_DIR", "."))
OPEN_FILE = os.environ.get("KELVORN_OPEN_FILE")
TOOL = os.environ.get("KELVORN_TOOL")

if not OPEN_FILE or not TOOL:
    pytest.skip("KELVORN_OPEN_FILE and KELVORN_TOOL are not set", allow_module_level=True)

# The all-field image's layout (src/fields/FieldsFormat.h).
HEADER_SIZE = 48
FILE_SIZE_AT = 32
CHECKSUM_AT = 40
CODE_POINTS_SECTION = 4


@pytest.fixture
def workdir():
    with tempfile.TemporaryDirectory(prefix="kelvorn-doors-") as path:
        yield pathlib.Path(path)


def reseal(image):
    """The image with its checksum recomputed, as any forger can."""
    image[CHECKSUM_AT:CHECKSUM_AT + 4] = struct.pack("<I", zlib.crc32(bytes(image[HEADER_SIZE:])))
    return image


def last_simplified_holder_slot(image):
    """Where the code point table holds the last code point with a
    kSimplifiedVariant: the slot whose forgery once let the conversion
    table write past its end."""
    offset, size = struct.unpack_from("<QQ", image, HEADER_SIZE + 16 * CODE_POINTS_SECTION)
    points = struct.unpack_from(f"<{size // 4}I", image, offset)
    u = kelvorn_unihan.Unihan(fields=kelvorn_unihan.BUNDLED_FIELDS_IMAGE)
    for index in range(len(points) - 1, -1, -1):
        if u.field(points[index], "kSimplifiedVariant") is not None:
            return offset + 4 * index
    raise AssertionError("no kSimplifiedVariant in the bundled image")


def core_files():
    whole = pathlib.Path(kelvorn_unihan.BUNDLED_IMAGE).read_bytes()
    negative = bytearray(whole)
    negative[24:26] = b"\xff\xff"
    other_version = bytearray(whole)
    other_version[20:24] = b"\x09\x00\x63\x00"
    return {
        "empty": b"",
        "foreign magic": b"W" + whole[1:],
        "magic alone": whole[:19],
        "header cut short": whole[:25],
        "truncated": whole[:len(whole) // 2],
        "negative block count": bytes(negative),
        "other format version": bytes(other_version),
    }


def fields_files():
    whole = pathlib.Path(kelvorn_unihan.BUNDLED_FIELDS_IMAGE).read_bytes()
    flipped = bytearray(whole)
    flipped[len(whole) // 2] ^= 0x5A
    forged = {}
    slot = last_simplified_holder_slot(whole)
    for value in (0x33100, 0xFFFFFFFF):
        image = bytearray(whole)
        image[slot:slot + 4] = struct.pack("<I", value)
        forged[f"code point {value:#x}, resealed"] = bytes(reseal(image))
    cut = bytearray(whole[:len(whole) // 2])
    cut[FILE_SIZE_AT:FILE_SIZE_AT + 8] = struct.pack("<Q", len(cut))
    return {
        "flipped byte, old checksum": bytes(flipped),
        **forged,
        "truncated": whole[:len(whole) // 2],
        "truncated, size and checksum fixed": bytes(reseal(cut)),
        "header alone": whole[:HEADER_SIZE],
        "foreign magic": whole[:15] + b"X" + whole[16:],
        "other format version": whole[:24] + b"\x02" + whole[25:],
    }


def reason(message, path):
    """A door's message without what only says which door spoke."""
    message = message.strip()
    for prefix in ("refused: ", "unihan: "):
        if message.startswith(prefix):
            message = message[len(prefix):]
    return message.replace(f"{path}: ", "", 1)


# Each door answers "answers" for a file it takes, or the reason it refuses it.
def through_cpp(kind, path):
    run = subprocess.run([OPEN_FILE, kind, str(path)], capture_output=True, text=True, check=False)
    assert run.returncode in (0, 1), run.stderr
    return reason(run.stdout, path) if run.returncode else "answers"


def through_tool(kind, path):
    if kind == "core":
        args = ["--data", str(path), "show", "漢"]
    else:
        args = ["field", "--fields-data", str(path), "kDefinition", "漢"]
    run = subprocess.run([TOOL, *args], capture_output=True, text=True, check=False)
    return reason(run.stderr, path) if run.returncode else "answers"


def through_python(kind, path):
    try:
        if kind == "core":
            kelvorn_unihan.Unihan(path).total_strokes("漢")
        else:
            kelvorn_unihan.Unihan(fields=path).field("漢", "kDefinition")
        return "answers"
    except ValueError as e:
        return reason(str(e), path)


@pytest.mark.parametrize("kind, files", [("core", core_files), ("fields", fields_files)])
def test_every_door_refuses_alike(workdir, kind, files):
    for name, contents in files().items():
        path = workdir / "hostile.bin"
        path.write_bytes(contents)
        answers = {door.__name__: door(kind, path)
                   for door in (through_cpp, through_tool, through_python)}
        assert len(set(answers.values())) == 1, f"{kind}, {name}: {answers}"
        assert answers["through_cpp"] != "answers", f"{kind}, {name}: {answers}"


def test_index_names_the_bytes_loaded(workdir):
    """A reader loads 17.0; the file is then overwritten with 15.0 in place
    and an index compiled beside the all-field image, for 15.0. The reader
    must not take that index for its own data."""
    earlier = sorted(p for p in (BUILD / "data").glob("unihan-*.bin")
                     if p.name not in (os.path.basename(kelvorn_unihan.BUNDLED_IMAGE),)
                     and "fields" not in p.name and "index" not in p.name)
    if not earlier:
        pytest.skip("no earlier release's image in the build tree")
    core = workdir / "core.bin"
    fields = workdir / "fields.bin"
    shutil.copyfile(kelvorn_unihan.BUNDLED_IMAGE, core)
    shutil.copyfile(kelvorn_unihan.BUNDLED_FIELDS_IMAGE, fields)
    reader = kelvorn_unihan.Unihan(core, fields=fields)
    with open(core, "r+b") as out:
        out.write(earlier[0].read_bytes())
        out.truncate()
    compiled = subprocess.run([TOOL, "--data", str(core), "compile-index", "--fields-data",
                               str(fields)], capture_output=True, text=True, check=False)
    assert compiled.returncode == 0, compiled.stderr
    assert len(reader.by_radical(85)) == 3936
    assert len(kelvorn_unihan.Unihan(core, fields=fields).by_radical(85)) == 3749


def test_writers_replace_files_under_a_reader(workdir):
    """The tool's writers rename a new file over the old one: a reader that
    has the old one mapped or loaded keeps answering from it, unchanged."""
    core = workdir / "core.bin"
    fields = workdir / "fields.bin"
    shutil.copyfile(kelvorn_unihan.BUNDLED_IMAGE, core)
    shutil.copyfile(kelvorn_unihan.BUNDLED_FIELDS_IMAGE, fields)
    reader = kelvorn_unihan.Unihan(core, fields=fields)
    definition = reader.field("漢", "kDefinition")
    text = workdir / "small.txt"
    text.write_text("U+4E00\tkTotalStrokes\t1\nU+4E00\tkDefinition\tone\n", encoding="utf-8")
    for command in (["compile-fields", str(text), "-o", str(fields)],
                    ["compile", str(text), "-o", str(core)],
                    ["--data", str(core), "compile-index", "--fields-data", str(fields)]):
        run = subprocess.run([TOOL, *command], capture_output=True, text=True, check=False)
        assert run.returncode == 0, run.stderr
    assert reader.field("漢", "kDefinition") == definition
    assert reader.total_strokes("漢") == 14
    assert len(reader.by_radical(85)) == 3936
