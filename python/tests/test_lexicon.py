"""Variants, conversion, search by gloss and lookups by value from Python:
what the binding does with its arguments and answers (the str kinds a
conversion moves between, lone surrogates, answers kept by their question,
the types given back) on a small text. The rules are LexiconTest's, the
whole-data answers LexiconRealDataTest's."""

import threading

import pytest

import kelvorn_unihan

LEXICON_TEXT = """\
U+4E00\tkDefinition\tone; a, an; alone
U+53D1\tkTraditionalVariant\tU+767C U+9AEE
U+540E\tkTraditionalVariant\tU+540E U+5F8C
U+5F8C\tkSimplifiedVariant\tU+540E
U+6C49\tkTraditionalVariant\tU+6F22
U+6F22\tkSimplifiedVariant\tU+6C49
U+6F22\tkSemanticVariant\tU+6F22<kMatthews U+2A6D6<kHanYu:TZ,kLau
U+6F22\tkCantonese\thon3
U+6C49\tkCantonese\thon3  hon2
U+8214\tkDefinition\tto lick; to taste, a mat
U+20001\tkSimplifiedVariant\tU+4E00
U+20001\tkDefinition\tTO LICK (again), 2nd
U+4E01\tkTraditionalVariant\tU+20002
"""


@pytest.fixture(scope="module")
def small(tmp_path_factory):
    path = tmp_path_factory.mktemp("lexicon") / "lexicon.txt"
    path.write_text(LEXICON_TEXT, encoding="utf-8")
    return kelvorn_unihan.Unihan(str(path))


def test_variants(small):
    assert small.variants("漢") == {
        "kSimplifiedVariant": [("汉", [])],
        "kSemanticVariant": [("漢", ["kMatthews"]), ("\U0002A6D6", ["kHanYu:TZ", "kLau"])],
    }
    assert small.variants(0x4E00) == {}
    with pytest.raises(ValueError):
        small.variants("漢字")


def test_conversion_between_str_kinds(small):
    assert small.to_simplified("漢 and 後\r\n") == "汉 and 后\r\n"
    # The str's storage follows the largest character of the answer: one
    # past the BMP in (U+20001) and none out, and the other way round.
    assert small.to_simplified("\U00020001") == "一"
    assert small.to_simplified("a\U00020001") == "a一"
    assert small.to_traditional("丁") == "\U00020002"
    assert small.to_traditional("Aé丁") == "Aé\U00020002"
    ascii_text = "nothing to do"
    assert small.to_simplified(ascii_text) is ascii_text
    assert small.to_simplified("") == ""
    assert small.to_traditional("\ud800汉") == "\ud800漢"  # a lone surrogate stays


def test_conversion_reports_characters_with_several_candidates(small):
    text, ambiguous = small.to_traditional("a发\n后", ambiguous=True)
    assert text == "a發\n後"
    assert ambiguous == [(1, "发", ["發", "髮"]), (3, "后", ["后", "後"])]
    assert small.to_simplified("漢", ambiguous=True) == ("汉", [])
    assert small.to_simplified(text="漢", ambiguous=False) == "汉"
    # A lone surrogate counts as one character before the next.
    assert small.to_traditional("\udfff发", ambiguous=True) == ("\udfff發", [(1, "发", ["發", "髮"])])
    for call in (lambda: small.to_simplified(b"\xe6\xbc\xa2"), small.to_simplified):
        with pytest.raises(TypeError):
            call()


def test_search_and_chars_with(small):
    assert small.search("lick") == small.search(["To", "LICK"]) == ("舔", "\U00020001")
    assert small.search([]) == ()
    assert small.search("LICK") is small.search("lick")  # kept by its word
    assert small.chars_with("kCantonese", "hon3") == ("汉", "漢")
    assert small.chars_with("kCantonese", "hon3") is small.chars_with("kCantonese", "hon3")
    with pytest.raises(ValueError, match="no field kCantonse"):
        small.chars_with("kCantonse", "hon3")
    for call in (lambda: small.search(["lick", 2]), lambda: small.search(3),
                 lambda: small.chars_with("kCantonese", 3)):
        with pytest.raises(TypeError):
            call()

    class Name(str):
        pass

    # A str subclass is asked like a str; conversion answers a plain str.
    assert small.chars_with(Name("kCantonese"), Name("hon2")) == ("汉",)
    assert type(small.to_simplified(Name("abc"))) is str
    assert type(small.to_simplified(Name("漢"))) is str


def test_lexicon_from_threads(small):
    answers = []

    def ask():
        answers.append((small.to_simplified("漢"), small.search("lick"),
                        small.chars_with("kCantonese", "hon3")))

    threads = [threading.Thread(target=ask) for _ in range(8)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert len(set(answers)) == 1
