"""Shared fixtures. The suite runs against the package assembled in a build
tree: PYTHONPATH=<build>/python and KELVORN_BUILD_DIR=<build> (ctest sets
both), which also gives the unihan tool and the unpacked Unihan text."""

import os
import pathlib
import shutil
import subprocess
import sys

import pytest

import kelvorn_unihan

# Edge cases in a few lines: a negative residual and a second kRSUnicode value
# (U+3401), two CID values (U+3402), a gap before U+3405, which has a stroke
# count and nothing else.
FIXTURE_TEXT = """\
# a comment, then lines the library does not keep
U+3400\tkRSUnicode\t1.4
U+3400\tkTotalStrokes\t5
U+3400\tkDefinition\tnot kept
U+3401\tkRSUnicode\t47.-1 48.2
U+3401\tkMandarin\ttiàn
U+3401\tkJapaneseKun\tKARA AZA
U+3402\tkHanYu\t10001.010
U+3402\tkRSKangXi\t85.11
U+3402\tkRSVantu_Japan1_6\tC+1124+85.3.10 V+1125+40.3.3
U+3405\tkTotalStrokes\t7
"""


@pytest.fixture(scope="session")
def bundled():
    return kelvorn_unihan.Unihan()


@pytest.fixture
def fixture_path(tmp_path):
    path = tmp_path / "fixture.txt"
    path.write_text(FIXTURE_TEXT, encoding="utf-8")
    return path


@pytest.fixture
def small(fixture_path):
    return kelvorn_unihan.Unihan(fixture_path)


@pytest.fixture(scope="session")
def build_dir():
    path = os.environ.get("KELVORN_BUILD_DIR")
    if not path:
        pytest.skip("KELVORN_BUILD_DIR (the build tree) is not set")
    return pathlib.Path(path)


@pytest.fixture(scope="session")
def tool(build_dir):
    path = build_dir / "tools" / "unihan"
    if not path.exists():
        pytest.skip("no unihan tool in the build tree")
    return path


def run_tool(tool, *args):
    return subprocess.run([str(tool), *args], capture_output=True, check=False)


def run_module(*args, env=None):
    """python3 -m kelvorn_unihan with the interpreter running the tests."""
    return subprocess.run([sys.executable, "-m", "kelvorn_unihan", *args],
                          capture_output=True, check=False, env=env)


def copy_bundled_image(directory):
    target = directory / "image.bin"
    shutil.copyfile(kelvorn_unihan.BUNDLED_IMAGE, target)
    return target
