"""Every held code point of the bundled data (Unicode 17.0) and of the earlier
release's image (15.0): the reverse lookups checked against answers worked
out from the per-character queries, CIDs mapped back to a character that
has them, and `python3 -m kelvorn_unihan show` printing what the tool prints.
The per-character answers themselves are the core's, checked in C++."""

import collections

import pytest

from conftest import run_module, run_tool

SOURCES = ("kRSUnicode", "kRSKangXi", "kRSKanWa", "kRSKorean", "kRSJapanese",
           "kRSVantu_Japan1_6")
CHUNK = 20000  # characters per tool run, well inside one argument's limit


# A loaded release, the tool options that select the same data, and how many
# code points it holds.
Release = collections.namedtuple("Release", "unihan data_options held")


@pytest.fixture(scope="module", params=["bundled", "earlier"])
def release(request):
    if request.param == "bundled":
        return Release(request.getfixturevalue("bundled"), [], 102998)
    image = request.getfixturevalue("earlier_image")
    return Release(request.getfixturevalue("earlier"), ["--data", str(image)], 98060)


def test_cids_map_back(release):
    u = release.unihan
    owners = collections.defaultdict(set)
    for char in u.code_points():
        for k in range(u.num_values(char, "kRSVantu_Japan1_6")):
            owners[u.cid(char, k)].add(char)
    shared = owners[656] | owners[1124]  # CID 656 shares the entry of 1124
    for cid in range(0, 23100):
        char = u.char_for_cid(cid)
        assert char is None or char in (shared if cid in (656, 1124) else owners[cid]), cid
        assert char is not None or not owners[cid] or cid not in range(1124, 23058), cid
    assert u.char_for_cid(656) == u.char_for_cid(1124)


def test_show_text_for_every_held_code_point(release, tool):
    held = release.unihan.code_points()
    for start in range(0, len(held), CHUNK):
        text = "".join(held[start:start + CHUNK])
        mine = run_module(*release.data_options, "show", text)
        theirs = run_tool(tool, *release.data_options, "show", text)
        assert mine.returncode == theirs.returncode == 0
        assert mine.stdout == theirs.stdout


def test_reverse_lookups_agree_with_the_per_character_answers(release):
    u = release.unihan
    chars = u.code_points()
    assert len(chars) == release.held and chars == sorted(chars)
    by_radical = {source: collections.defaultdict(set) for source in SOURCES}
    by_strokes = collections.defaultdict(list)
    by_reading = collections.defaultdict(set)
    def marks(char, k):  # kRSUnicode's apostrophes, where the data has every field
        try:
            value = u.field(char, "kRSUnicode")
        except ValueError:
            return 0
        return value.split()[k].count("'") if value else 0

    for char in chars:
        for source in SOURCES:
            for k in range(u.num_values(char, source)):
                radical, residual = u.radical_stroke(char, source, k)
                mark = marks(char, k) if source == "kRSUnicode" else 0
                by_radical[source][radical].add((mark, residual, ord(char)))
        if u.total_strokes(char) is not None:
            by_strokes[u.total_strokes(char)].append(char)
        for reading in u.readings(char, "kJapaneseOn"):
            by_reading[reading].add(char)
    for source in SOURCES:
        for radical in range(1, 215):
            expected = [(chr(cp), residual)
                        for _, residual, cp in sorted(by_radical[source][radical])]
            assert u.radical_entries(radical, source) == expected, (source, radical)
    for strokes in range(1, 256):
        expected = sorted(by_strokes[strokes], key=u.radical_stroke_key)
        assert u.by_strokes(strokes) == expected, strokes
    for reading, holders in by_reading.items():
        assert u.by_reading(reading, "kJapaneseOn", exact=True) == tuple(sorted(holders))
    for char in chars:
        key = u.radical_stroke_key(char)
        assert len(key) == 3 and (key[0] >= 0x80) == (u.radical_stroke(char) is None)
        total = u.total_strokes(char) or 256
        assert u.total_strokes_key(char) == total.to_bytes(2, "big") + key
