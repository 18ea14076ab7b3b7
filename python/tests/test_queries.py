"""Per-character queries from Python: the shapes of their answers, both
argument forms, the None cases and the source preference; the answers
themselves are C++'s."""

import threading

import pytest

import kelvorn_unihan


def test_answers_of_the_bundled_data(bundled):
    """The types and shapes each query answers in; the answers are C++'s
    (RealDataTest, BundleTest), and 漢's radical, strokes and HanYu entry
    docs/python.md's."""
    u = bundled
    assert kelvorn_unihan.UNICODE_VERSION == "17.0"
    assert len(u) == 102998
    assert u.radical_stroke("漢", "kRSKangXi") is None  # gone since Unicode 15.1
    assert [u.radical_stroke("字", "kRSVantu_Japan1_6", k) for k in range(3)] == [
        (39, 3), (40, 3), None]
    assert u.cid_strokes("漢") == 13 and u.cid("漢") == 1533 and u.char_for_cid(1533) == "漢"
    assert u.preferred_radical_stroke("漢") == (85, 10, "kRSVantu_Japan1_6")
    assert u.readings("字", "kHanyuPinlu") == ["zì", "zi"]


def test_character_and_code_point_forms_agree(bundled):
    for char in ("漢", "\U00020000", "A"):
        cp = ord(char)
        assert bundled.total_strokes(char) == bundled.total_strokes(cp)
        assert bundled.radical_stroke(char) == bundled.radical_stroke(cp)
        assert bundled.readings(char, "kMandarin") == bundled.readings(cp, "kMandarin")
        assert bundled.hanyu(char) == bundled.hanyu(cp)
        assert (char in bundled) == (cp in bundled)
    assert bundled.total_strokes(char="漢") == 14
    assert bundled.radical_stroke(index=0, source="kRSVantu_Japan1_6", char="漢") == (85, 10)


def test_none_cases(bundled, small):
    for char in ("A", 0x10FFFF):  # held by no block
        assert char not in bundled
        assert bundled.total_strokes(char) is None
        assert bundled.radical_stroke(char) is None
        assert bundled.preferred_radical_stroke(char) is None
        assert bundled.cid(char) is None and bundled.cid_strokes(char) is None
        assert bundled.hanyu(char) is None
        assert bundled.readings(char, "kMandarin") == []
        assert bundled.num_values(char, "kMandarin") == 0
    # Held, but without the value asked for.
    assert small.total_strokes(0x3401) is small.radical_stroke(0x3402) is None
    assert small.radical_stroke(0x3400, index=1) is small.hanyu(0x3400) is None
    assert small.cid(0x3400) is small.char_for_cid(1126) is None
    assert small.char_for_cid(-1) is small.char_for_cid(2**40) is small.cid(0x3402, 2**40) is None


def test_source_preference(small):
    # A negative residual and a second value, through each query's conversion.
    assert [small.radical_stroke(0x3401, index=k) for k in (0, 1)] == [(47, -1), (48, 2)]
    assert small.num_values(0x3401, "kRSUnicode") == 2 and small.cid_strokes(0x3402, 1) == 6
    assert small.source_preference() == ["kRSVantu_Japan1_6", "kRSJapanese", "kRSKorean",
                                         "kRSKanWa", "kRSKangXi", "kRSUnicode"]
    assert small.preferred_radical_stroke(0x3402) == (85, 10, "kRSVantu_Japan1_6")
    small.set_source_preference(["kRSKangXi", "kRSUnicode"])
    assert small.source_preference() == ["kRSKangXi", "kRSUnicode"]
    assert small.preferred_radical_stroke(0x3402) == (85, 11, "kRSKangXi")
    assert small.preferred_radical_stroke(0x3401) == (47, -1, "kRSUnicode")
    # Refused as C++ refuses it, and the preference left as it was.
    with pytest.raises(ValueError, match="names each source once"):
        small.set_source_preference(["kRSKangXi", "kRSKangXi"])
    assert small.source_preference() == ["kRSKangXi", "kRSUnicode"]
    small.set_source_preference(())
    assert small.preferred_radical_stroke(0x3402) is None
    # Each Unihan has its own store and preference.
    assert kelvorn_unihan.Unihan().preferred_radical_stroke("漢") == (85, 10, "kRSVantu_Japan1_6")


def test_queries_from_several_threads(bundled):
    chars = bundled.code_points()[::7]
    expected = [(bundled.total_strokes(c), bundled.radical_stroke(c), bundled.cid(c))
                for c in chars]
    fresh = kelvorn_unihan.Unihan()
    results, errors = [], []

    def query():
        try:
            results.append([(fresh.total_strokes(c), fresh.radical_stroke(c), fresh.cid(c))
                            for c in chars])
        except Exception as error:  # pragma: no cover - reported below
            errors.append(error)

    def build_and_prefer():
        fresh.by_radical(85)  # builds the indexes without the interpreter lock
        for _ in range(50):
            fresh.set_source_preference(["kRSUnicode"])

    threads = [threading.Thread(target=query) for _ in range(4)]
    threads.append(threading.Thread(target=build_and_prefer))
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    assert not errors
    assert results == [expected] * 4
    assert fresh.by_radical(85) == bundled.by_radical(85)
