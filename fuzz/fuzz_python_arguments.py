"""Random calls into the Python module's argument layer.

Every public method of Unihan, and len, iter, in and repr, is called with
random arguments: characters at every boundary, lone surrogates, huge and
negative integers, wrong types, objects whose conversions raise, made-up
keywords. A call may answer or raise TypeError, ValueError, OverflowError or
LookupError; anything else, and above all a crash of the interpreter, is a
fault. The run is reproducible from its seed:

    python3 fuzz/fuzz_python_arguments.py [--seconds N] [--seed S]

It needs the module on PYTHONPATH (a build tree's python/ directory).
"""

import argparse
import faulthandler
import os
import random
import sys
import tempfile
import time

import kelvorn_unihan

ALLOWED = (TypeError, ValueError, OverflowError, LookupError)

FIELD_NAMES = ["kRSUnicode", "kTotalStrokes", "kMandarin", "kHanyuPinlu", "kJapaneseOn",
               "kJapaneseKun", "kRSVantu_Japan1_6", "kRSKangXi", "kHanYu", "kDefinition",
               "kCangjie", "kSimplifiedVariant", "kTraditionalVariant", "kFoo", "", "k",
               "kRSUnicode\x00", "krsunicode"]
KEYWORDS = ["char", "text", "field", "source", "index", "exact", "order", "radical",
            "strokes", "cid", "name", "expand", "words", "value", "ambiguous", "fields",
            "preference", "self", "marks", "bogus", ""]
WORDS = ["codepoint", "frequency", "han4", "hàn", "shi", "zi5", "water", "ETLO", "hon3",
         "simplified", "traditional", "lv3", "u:", "ü"]


class RaisingIndex:
    """An int-like object whose conversion fails."""

    def __index__(self):
        raise ZeroDivisionError("conversion")

    def __int__(self):
        raise ZeroDivisionError("conversion")


class RaisingStr(str):
    """A str whose hash and comparison fail."""

    def __hash__(self):
        raise ZeroDivisionError("hash")

    def __eq__(self, other):
        raise ZeroDivisionError("eq")


def random_char(rng):
    return rng.choice([
        lambda: chr(rng.randrange(0x4E00, 0x9FFF)), lambda: chr(rng.randrange(0x20000, 0x323AF)),
        lambda: chr(rng.choice([0, 0x7F, 0x80, 0xD800, 0xDFFF, 0xFFFF, 0x10FFFF, 0x3400])),
        lambda: chr(rng.randrange(0x110000)), lambda: rng.choice("漢字水一乙丨汉发國㐀\U00020000"),
        lambda: rng.choice("漢字水一乙丨汉发國㐀\U00020000")])()


def random_int(rng):
    return rng.choice([0, 1, -1, 2, 85, 214, 215, 255, 256, 0x10FFFF, 0x110000, 2**31 - 1,
                       2**31, -(2**31) - 1, 2**63, 2**64 + 1, -(2**70), 65535, 65536,
                       rng.randrange(-1000, 100000)])


def random_value(rng, depth=0):
    def items():
        return [random_value(rng, depth + 1) for _ in range(rng.randrange(0, 8))]
    makers = [lambda: random_char(rng)] * 4 + [lambda: random_int(rng)] * 2 + [
        lambda: rng.choice(FIELD_NAMES), lambda: rng.choice(WORDS),
        lambda: "".join(random_char(rng) for _ in range(rng.randrange(0, 6))),
        lambda: rng.choice([None, True, False, 1.5, float("nan"), b"\xe6\xbc\xa2",
                            bytearray(b"x"), object(), RaisingIndex(), RaisingStr("漢"),
                            RaisingStr("kMandarin")]),
        lambda: list(items()) if depth < 2 else random_char(rng),
        lambda: tuple(items()) if depth < 2 else random_char(rng),
        lambda: {rng.choice(WORDS): random_value(rng, depth + 1)} if depth < 2 else
        random_char(rng),
        lambda: rng.choice(WORDS) + str(rng.randrange(0, 7))]
    return rng.choice(makers)()


def random_call(rng, methods):
    args = [random_value(rng) for _ in range(rng.choice([0, 1, 1, 2, 2, 3, 4, 5]))]
    kwargs = {rng.choice(KEYWORDS): random_value(rng) for _ in range(rng.choice([0, 0, 0, 1, 2]))}
    return rng.choice(methods), args, kwargs


def dunder_call(rng, obj):
    return rng.choice([len, lambda o: next(iter(o), None), lambda o: random_value(rng) in o,
                       repr])(obj)


def fixture_text(directory):
    path = os.path.join(directory, "fixture.txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write("U+3400\tkRSUnicode\t1.4\nU+3400\tkTotalStrokes\t5\n"
                "U+3401\tkRSUnicode\t47.-1 48.2\nU+3401\tkMandarin\ttiàn\n"
                "U+3401\tkHanyuPinlu\ttiàn(3)\nU+3401\tkDefinition\tto lick; water\n"
                "U+3402\tkRSVantu_Japan1_6\tC+1124+85.3.10 V+1125+40.3.3\n"
                "U+3402\tkSimplifiedVariant\tU+3401\nU+3401\tkTraditionalVariant\tU+3402\n")
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--seed", type=int, default=None)
    opts = parser.parse_args()
    seed = opts.seed if opts.seed is not None else random.randrange(2**32)
    print(f"seed {seed}", flush=True)
    faulthandler.enable()
    rng = random.Random(seed)
    with tempfile.TemporaryDirectory(prefix="kelvorn-python-fuzz-") as directory:
        objects = [kelvorn_unihan.Unihan(), kelvorn_unihan.Unihan(fixture_text(directory)),
                   kelvorn_unihan.Unihan.__new__(kelvorn_unihan.Unihan)]
        methods = sorted(m for m in dir(kelvorn_unihan.Unihan)
                         if not m.startswith("_") and callable(getattr(kelvorn_unihan.Unihan, m)))
        deadline = time.monotonic() + opts.seconds
        calls = 0
        while time.monotonic() < deadline:
            for _ in range(100):
                obj = rng.choice(objects)
                if rng.random() < 0.1:
                    description = "dunder"
                    call = lambda: dunder_call(rng, obj)  # noqa: E731
                else:
                    name, args, kwargs = random_call(rng, methods)
                    description = f"{name}(*{args!r}, **{kwargs!r})"
                    call = lambda: getattr(obj, name)(*args, **kwargs)  # noqa: E731
                try:
                    call()
                except ALLOWED:
                    pass
                except Exception as e:  # pylint: disable=broad-except
                    print(f"seed {seed}, call {calls}: {description} raised "
                          f"{type(e).__name__}: {e}", file=sys.stderr)
                    return 1
                calls += 1
    print(f"{calls} calls, no fault")
    return 0


if __name__ == "__main__":
    sys.exit(main())
