"""python3 -m kelvorn_unihan show prints what `unihan show` prints, byte for
byte, for the same arguments; errors are the tool's, under the module's name
(the tool's refusals of bad characters are pinned here too)."""

import pytest

from conftest import run_module, run_tool


@pytest.mark.parametrize("args", [
    ["漢字", "U+5DDC", "u+3400", "u+9fa5", "A"],
    ["--json", "漢", "字", "U+5DDC", "A"],
    ["U+20000", "U+323AF", "U+10FFFF"],
])
def test_show_matches_the_tool(tool, args):
    mine = run_module("show", *args)
    theirs = run_tool(tool, "show", *args)
    assert mine.returncode == theirs.returncode == 0
    assert mine.stdout == theirs.stdout
    assert mine.stderr == b""


def test_show_with_other_data(tool, fixture_path):
    for args in (["--data", str(fixture_path), "show"], ["show", "--data", str(fixture_path)]):
        mine = run_module(*args, "\u3400\u3401\u3402\u3403", "U+3405")
        theirs = run_tool(tool, *args, "\u3400\u3401\u3402\u3403", "U+3405")
        assert mine.returncode == 0 and mine.stdout == theirs.stdout


@pytest.mark.parametrize("args", [
    ["show", "U+D800"],
    ["show", "U+110000"],
    ["show", "U+1234567"],
    ["show", "U+0004E00"],  # seven digits, however many are zeros
    ["show", "U+"],
    ["show", "U+12G4"],
    ["show", ""],
    ["show", b"\xe6\xbc".decode("utf-8", "surrogateescape")],  # cut short
    ["show", b"\xc0\xaf".decode("utf-8", "surrogateescape")],  # overlong
    ["--data", "/nonexistent/unihan.bin", "show", "漢"],
    ["--data", __file__, "show", "漢"],  # text that is not Unihan data
])
def test_show_errors_match_the_tool(tool, args):
    mine = run_module(*args)
    theirs = run_tool(tool, *args)
    assert mine.returncode == theirs.returncode == 1
    assert mine.stdout == theirs.stdout == b""
    assert mine.stderr == theirs.stderr.replace(b"unihan: ", b"kelvorn_unihan: ", 1)


def test_command_line_that_does_not_parse():
    assert run_module().returncode == 2
    assert run_module("show").returncode == 2
    assert run_module("frobnicate").returncode == 2
