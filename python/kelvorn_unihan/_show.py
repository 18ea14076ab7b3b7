"""`python3 -m kelvorn_unihan show CHAR...`: what the data says about some
characters, printed exactly as `unihan show` prints it (the table, or JSON
Lines with --json)."""

import argparse
import json
import os
import sys

from . import BUNDLED_IMAGE
from ._native import Unihan, decode_utf8

PROG = "kelvorn_unihan"
_PAIR_SOURCES = ("kRSUnicode", "kRSKangXi", "kRSKanWa", "kRSKorean", "kRSJapanese")
_VANTU = "kRSVantu_Japan1_6"
_READING_FIELDS = ("kMandarin", "kHanyuPinlu", "kJapaneseKun", "kJapaneseOn")


class UsageError(Exception):
    """A bad argument or unusable data: one line on stderr, exit status 1."""


# ---- arguments, checked as the tool checks them --------------------------------


def decode_strict_utf8(data):
    """Code points of strict UTF-8, naming the first offending byte otherwise."""
    try:
        return decode_utf8(data)
    except ValueError as error:
        raise UsageError(f"{error} of an argument") from None


def parse_char_argument(arg):
    """One argument: characters in UTF-8, or one code point written U+XXXX."""
    if not arg:
        raise UsageError("empty character argument")
    if len(arg) < 2 or arg[0] not in "Uu" or arg[1] != "+":
        # The command line reaches Python decoded with surrogateescape; its
        # bytes are what the tool would see.
        return decode_strict_utf8(os.fsencode(arg))
    digits = arg[2:]
    ok = 0 < len(digits) <= 6 and all(c in "0123456789abcdefABCDEF" for c in digits)
    cp = int(digits, 16) if ok else 0
    if not ok or cp > 0x10FFFF or 0xD800 <= cp <= 0xDFFF:
        raise UsageError(f"bad code point '{arg}' (expected U+0000 to U+10FFFF, no surrogates)")
    return [cp]


# ---- what the data says about one code point -----------------------------------


def _rad_strokes(u, cp):
    """(source, radical, residual, radical form strokes or None) rows."""
    rows = []
    for source in _PAIR_SOURCES:
        for index in range(2 if source == "kRSUnicode" else 1):
            value = u.radical_stroke(cp, source, index)
            if value is not None:
                rows.append((source, value[0], value[1], None))
    for index in range(u.num_values(cp, _VANTU)):
        value = u.radical_stroke(cp, _VANTU, index)
        glyph = u.cid_strokes(cp, index)
        radical, residual = value if value is not None else (None, None)
        form = glyph - residual if glyph is not None and residual is not None else None
        rows.append((_VANTU, radical, residual, form))
    return rows


def _cids(u, cp):
    return [(u.cid(cp, k), u.cid_strokes(cp, k)) for k in range(u.num_values(cp, _VANTU))]


def _number(value):
    return "-" if value is None else str(value)


def _row(label, value):
    return f"  {label:<22}{value}\n"


def _columns(label, radical, strokes):
    return f"    {label:<20} {radical:>7} {strokes:>8}"


def format_table(u, cp):
    out = f"U+{cp:04X} {chr(cp)}\n"
    if cp not in u:
        return out + "  not in the Unihan data (no block holds this code point)\n"
    out += _columns("source", "radical", "residual") + "\n"
    for source, radical, residual, form in _rad_strokes(u, cp):
        note = "" if form is None or form < 0 else f"  (radical form {form} strokes)"
        out += _columns(source, _number(radical), _number(residual)) + note + "\n"
    preferred = u.preferred_radical_stroke(cp) or (None, None, None)
    out += _columns("preferred", _number(preferred[0]), _number(preferred[1]))
    out += ("  (no source has a value)\n" if preferred[2] is None
            else f"  ({preferred[2]}, first in preference order)\n")
    out += _row("total strokes", _number(u.total_strokes(cp)))
    for cid, strokes in _cids(u, cp):
        out += _row(f"CID {cid}", f"glyph {_number(strokes)} strokes")
    out += _row("Mandarin", " ".join(u.readings(cp, "kMandarin")) or "-")
    out += _row("HanyuPinlu", " ".join(u.readings(cp, "kHanyuPinlu")) or "-")
    japanese = u.readings(cp, "kJapaneseKun") + u.readings(cp, "kJapaneseOn")
    out += _row("Japanese (kun, on)", " ".join(japanese) or "-")
    hanyu = u.hanyu(cp)
    position = "-" if hanyu is None else (
        f"volume {hanyu.volume}, page {hanyu.page}, position {hanyu.position}, "
        f"virtual {hanyu.virtual}")
    return out + _row("HanYu", position)


def _json_value(u, cp):
    out = {"codePoint": f"U+{cp:04X}", "char": chr(cp), "known": cp in u}
    if not out["known"]:
        return out
    rad_strokes = {}
    for source, radical, residual, form in _rad_strokes(u, cp):
        entry = {"radical": radical, "residual": residual}
        if form is not None and form >= 0:
            entry["radicalFormStrokes"] = form
        rad_strokes.setdefault(source, []).append(entry)
    preferred = u.preferred_radical_stroke(cp) or (None, None, None)
    out["radicalStrokes"] = rad_strokes
    out["preferred"] = {"source": preferred[2], "radical": preferred[0],
                        "residual": preferred[1]}
    out["totalStrokes"] = u.total_strokes(cp)
    out["cids"] = [{"cid": cid, "strokes": strokes} for cid, strokes in _cids(u, cp)]
    out["readings"] = {field: u.readings(cp, field) for field in _READING_FIELDS}
    hanyu = u.hanyu(cp)
    out["kHanYu"] = None if hanyu is None else hanyu._asdict()
    return out


def format_json(u, cp):
    # Keys in the order the tool writes them: codePoint and char first.
    return json.dumps(_json_value(u, cp), ensure_ascii=False, separators=(",", ":"))


# ---- the command ---------------------------------------------------------------


def _load(path):
    try:
        return Unihan(path)
    except FileNotFoundError:
        raise UsageError(f"{path}: no such file") from None
    except IsADirectoryError:
        raise UsageError(f"{path}: is a directory, not a file") from None
    except OSError:
        raise UsageError(f"{path}: cannot open for reading") from None
    except ValueError as error:
        raise UsageError(str(error)) from None


def _parser():
    parser = argparse.ArgumentParser(
        prog=f"python3 -m {PROG}",
        description="Query Unihan data through the kelvorn unihan library.")
    parser.add_argument("--data", metavar="PATH",
                        help="binary image or Unihan text to answer from "
                             "(default: the bundled image)")
    commands = parser.add_subparsers(dest="command", required=True, metavar="SUBCOMMAND")
    show = commands.add_parser(
        "show", help="radical/strokes, CIDs, readings and HanYu position of characters")
    show.add_argument("chars", nargs="+", metavar="CHAR",
                      help="characters in UTF-8 (several per argument) or U+XXXX")
    show.add_argument("--json", action="store_true",
                      help="print one JSON object per character, one per line")
    # --data may also follow the subcommand, as with the unihan tool.
    show.add_argument("--data", dest="data_after", metavar="PATH", help=argparse.SUPPRESS)
    return parser


def main(argv):
    args = _parser().parse_args(argv)
    try:
        code_points = [cp for arg in args.chars for cp in parse_char_argument(arg)]
        u = _load(args.data_after or args.data or BUNDLED_IMAGE)
    except UsageError as error:
        print(f"{PROG}: {error}", file=sys.stderr)
        return 1
    if args.json:
        text = "".join(format_json(u, cp) + "\n" for cp in code_points)
    else:
        text = "\n".join(format_table(u, cp) for cp in code_points)
    sys.stdout.buffer.write(text.encode("utf-8", "surrogatepass"))
    sys.stdout.flush()
    return 0
