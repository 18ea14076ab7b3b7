"""`python3 -m kelvorn_unihan show` prints what the tool prints for every held
code point of the bundled data (Unicode 17.0) and of the earlier release's
image (15.0). The answers themselves, and the reverse lookups against them on
the whole data, are C++'s (RealDataTest, BundleTest)."""

import pytest

from conftest import run_module, run_tool

CHUNK = 20000  # characters per tool run, well inside one argument's limit


@pytest.fixture(scope="module", params=["bundled", "earlier"])
def release(request):
    """A loaded release and the tool options that select the same data."""
    if request.param == "bundled":
        return request.getfixturevalue("bundled"), []
    image = request.getfixturevalue("earlier_image")
    return request.getfixturevalue("earlier"), ["--data", str(image)]


def test_show_text_for_every_held_code_point(release, tool):
    unihan, data_options = release
    held = unihan.code_points()
    for start in range(0, len(held), CHUNK):
        text = "".join(held[start:start + CHUNK])
        mine = run_module(*data_options, "show", text)
        theirs = run_tool(tool, *data_options, "show", text)
        assert mine.returncode == theirs.returncode == 0
        assert mine.stdout == theirs.stdout
