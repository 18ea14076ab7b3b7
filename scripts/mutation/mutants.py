"""Finds, picks and applies one-line mutants of the library's C++ sources.

A mutant changes one thing on one line:

  comparison   `<` <-> `<=`, `>` <-> `>=`, `==` <-> `!=`
  constant     an integer literal n -> n + 1 or n - 1 (hex stays hex)
  arithmetic   `+` <-> `-`
  logic        `&&` <-> `||`
  return       `return true` <-> `return false`
  delete       a call or assignment statement alone on its line -> `;`

The engine reads C++ only as far as it must, relying on the code being
clang-formatted:

  * Comments and string and character literals are blanked out first, so
    that nothing inside them is mutated.
  * Preprocessor lines (with their continuations) and static_assert
    statements are skipped: a changed #include or assertion only stops the
    build, which says nothing of the tests.
  * Binary operators are recognised by the spaces around them. That is how
    `a < b` differs from `std::vector<int>`, `a - b` from `-1`, and
    `x && y` from `T&& t`.
  * Braces are sorted into function bodies, brace initialisers and other
    scopes (namespaces, classes, enums) by what comes before the `{`. In a
    function body everything is a candidate; outside one, only what stands
    to the right of an `=` or inside an initialiser, so that declarations,
    array sizes and template arguments of declarations are left alone.

Equivalent mutants (that no test can tell apart from the original) are
listed in a file, one per line as

    path:line: original → mutant  # why it is equivalent

and matched by path and by the exact original and mutated text, trimmed; the
line number only helps a reader, since it moves as the file changes.
"""
import dataclasses
import random
import re
from pathlib import Path

FOLDERS = ("src/store", "src/text", "src/query", "src/image", "src/index", "src/app",
           "src/fields", "tools")
SOURCE_SUFFIXES = (".cpp", ".h")
ARROW = " → "


@dataclasses.dataclass(frozen=True)
class Mutant:
    path: str  # relative to the source tree, with forward slashes
    line: int  # 1-based
    column: int  # 0-based column of the change
    kind: str
    original: str  # the whole line, without its line feed
    mutated: str

    def key(self):
        return (self.path, self.original.strip(), self.mutated.strip())

    def describe(self):
        return f"{self.path}:{self.line}: {self.original.strip()}{ARROW}{self.mutated.strip()}"


def folder_of(path):
    for folder in FOLDERS:
        if path == folder or path.startswith(folder + "/"):
            return folder
    return path.split("/", 1)[0]


# --- lexing ---------------------------------------------------------------

def blank_lines(lines):
    """Returns the lines with comments blanked to spaces, string literals
    (quotes included) to 'Q' and character literals to 'C', column for
    column, so that positions found in the result are positions in the
    source."""
    out = []
    in_block = False
    raw_end = None  # the closing `)delim"` of an open raw string literal
    for line in lines:
        chars = list(line)
        i, n = 0, len(line)
        while i < n:
            if raw_end is not None:
                end = line.find(raw_end, i)
                stop = n if end < 0 else end + len(raw_end)
                chars[i:stop] = "Q" * (stop - i)
                i = stop
                if end >= 0:
                    raw_end = None
                continue
            if in_block:
                end = line.find("*/", i)
                stop = n if end < 0 else end + 2
                chars[i:stop] = " " * (stop - i)
                i = stop
                if end >= 0:
                    in_block = False
                continue
            c = line[i]
            if line.startswith("//", i):
                chars[i:] = " " * (n - i)
                break
            if line.startswith("/*", i):
                in_block = True
                continue
            if c == '"' and i > 0 and line[i - 1] == "R" and (i < 2 or not _word(line[i - 2])
                                                               or line[i - 2] in "uUL8"):
                open_paren = line.find("(", i)
                raw_end = ")" + line[i + 1:open_paren] + '"'
                chars[i - 1] = "Q"
                continue
            if c in "\"'" and not (c == "'" and i > 0 and line[i - 1].isalnum()):
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                stop = min(j + 1, n)
                chars[i:stop] = ("Q" if c == '"' else "C") * (stop - i)
                i = stop
                continue
            i += 1
        out.append("".join(chars))
    return out


def _word(c):
    return c.isalnum() or c == "_"


# What stands before a `{` that opens a function body (or a block within
# one): a parameter list and its qualifiers, or a statement keyword.
_BODY_OPENERS = {")", "const", "noexcept", "override", "mutable", "else", "do", "try"}
BODY, DATA, SCOPE = "body", "data", "scope"


def classify(blanked, skipped):
    """Returns, for every line, the context of every column: BODY inside a
    function, DATA inside an initialiser's braces or to the right of an `=`
    outside a function, SCOPE elsewhere. Skipped lines keep their context."""
    stack = []
    last = None  # the last token seen: a word or a punctuation character
    contexts = []
    for number, code in enumerate(blanked):
        row = []
        assigned = False
        for i, c in enumerate(code):
            outer = stack[-1] if stack else SCOPE
            if skipped[number]:
                row.append(outer)
                continue
            if c == "{":
                if outer == BODY or last in _BODY_OPENERS:
                    stack.append(BODY)
                elif outer == DATA or last in ("=", ",", "(", "return") or assigned:
                    stack.append(DATA)
                else:
                    stack.append(SCOPE)
                row.append(stack[-1])
            elif c == "}":
                row.append(outer)
                if stack:
                    stack.pop()
            else:
                if c == "=" and outer == SCOPE and _is_assignment(code, i):
                    assigned = True
                if c == ";" and outer == SCOPE:
                    assigned = False
                row.append(DATA if assigned and outer == SCOPE else outer)
            if skipped[number] or c.isspace():
                continue
            if _word(c) and i > 0 and _word(code[i - 1]) and last is not None:
                last += c
            else:
                last = c
        contexts.append(row)
    return contexts


def _is_assignment(code, i):
    before = code[i - 1] if i > 0 else ""
    after = code[i + 1] if i + 1 < len(code) else ""
    return before not in "=!<>" and after != "="


def skipped_lines(blanked):
    """Marks preprocessor lines (and their continuations) and static_assert
    statements (to their closing parenthesis)."""
    skipped = []
    continued = False
    depth = None  # open parentheses of a static_assert, while inside one
    for code in blanked:
        stripped = code.strip()
        skip = continued or stripped.startswith("#")
        continued = skip and code.rstrip().endswith("\\")
        if depth is None and re.search(r"\bstatic_assert\b", code):
            depth = 0
            code = code[code.index("static_assert"):]
        if depth is not None:
            skip = True
            depth += code.count("(") - code.count(")")
            if depth <= 0 and ")" in code:
                depth = None
        skipped.append(skip)
    return skipped


# --- mutation operators ----------------------------------------------------

_SPACED = r"(?<= )({})(?= )"
_FLIPS = {
    "comparison": (_SPACED.format(r"<=|>=|==|!=|<|>"),
                   {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}),
    "arithmetic": (_SPACED.format(r"\+|-"), {"+": "-", "-": "+"}),
    "logic": (_SPACED.format(r"&&|\|\|"), {"&&": "||", "||": "&&"}),
    "return": (r"\breturn (true|false)\b", {"true": "false", "false": "true"}),
}
_INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
_LVALUE = r"\*?[A-Za-z_][\w.:\[\]()>\-]*"
_STATEMENT = re.compile(
    rf"^(?:{_LVALUE}\s*(?:[-+*/%|&^]|<<|>>)?=\s.*"  # assignment
    rf"|(?:\+\+|--){_LVALUE}|{_LVALUE}(?:\+\+|--)"  # increment
    rf"|[A-Za-z_][\w.:\[\]\->]*\(.*\))"  # call
    r";$")
_NOT_CALLS = {"return", "throw", "delete", "sizeof", "static_assert", "case", "goto", "using",
              "typedef", "co_return", "co_yield"}
_PURE_VIRTUAL = re.compile(r"\)[\w\s]*=\s*0\s*;")


def _off_by_one(literal, suffix):
    """n + 1 and n - 1, written in the literal's own base."""
    if literal[:2].lower() == "0x":
        prefix, base, digits = literal[:2], 16, "X"
    elif len(literal) > 1 and literal[0] == "0":
        prefix, base, digits = "0", 8, "o"
    else:
        prefix, base, digits = "", 10, "d"
    value = int(literal[len(prefix):] if base != 10 else literal, base)
    for changed in (value + 1, value - 1):
        sign = "-" if changed < 0 else ""
        yield sign + prefix + format(abs(changed), digits) + suffix


def line_mutants(path, number, line, code, context, statement_start):
    """Every mutant of one line. `code` is the blanked line, `context` the
    context of each of its columns, `statement_start` whether a statement
    may begin at the start of this line."""
    found = []

    def add(kind, start, end, replacement):
        found.append(Mutant(path, number, start, kind,
                            line, line[:start] + replacement + line[end:]))

    def eligible(column):
        return context[column] in (BODY, DATA)

    for kind, (pattern, flips) in _FLIPS.items():
        for match in re.finditer(pattern, code):
            start, end = match.span(1)
            if kind == "return" and context[start] != BODY:
                continue
            # `+` between strings joins them; `-` there would only stop the build.
            if kind == "arithmetic" and "Q" in (code[start - 2], code[end + 1:end + 2]):
                continue
            if eligible(start):
                add(kind, start, end, flips[match.group(1)])
    if not _PURE_VIRTUAL.search(code):
        for match in _INTEGER.finditer(code):
            if eligible(match.start()):
                for text in _off_by_one(match.group(1), match.group(2)):
                    add("constant", match.start(), match.end(), text)
    stripped = code.strip()
    start = len(code) - len(code.lstrip())
    if (statement_start and stripped and context[start] == BODY
            and _STATEMENT.match(stripped)
            and re.match(r"[\w]*", stripped).group(0) not in _NOT_CALLS
            and stripped.count("(") == stripped.count(")")):
        add("delete", start, len(line), ";")
    return found


def file_mutants(path, text):
    lines = text.split("\n")
    blanked = blank_lines(lines)
    skipped = skipped_lines(blanked)
    contexts = classify(blanked, skipped)
    found = []
    previous = None  # the last code character before the current line
    for index, line in enumerate(lines):
        code = blanked[index]
        if not skipped[index] and code.strip():
            # A statement begins here when the code before it ends one, opens
            # or closes a block, closes an `if (...)` or ends a label.
            starts = previous is None or previous[-1] in ";{}):" or previous.endswith("else")
            found += line_mutants(path, index + 1, line, code, contexts[index], starts)
            previous = code.rstrip()
    return found


def collect(root, folders=("src", "tools")):
    """Every mutant of the .cpp and .h files under the given folders of
    `root`, in a fixed order."""
    root = Path(root)
    found = []
    for folder in folders:
        for source in sorted((root / folder).rglob("*")):
            if source.suffix in SOURCE_SUFFIXES and source.is_file():
                relative = source.relative_to(root).as_posix()
                found += file_mutants(relative, source.read_text(encoding="utf-8"))
    found.sort(key=lambda m: (m.path, m.line, m.column, m.kind, m.mutated))
    return found


def choose(candidates, count, seed):
    """The first `count` mutants of a shuffle fixed by `seed`: the same tree
    and seed give the same mutants, and a shorter run is a prefix of a
    longer one. Returned in file and line order."""
    order = list(candidates)
    random.Random(seed).shuffle(order)
    return sorted(order[:count], key=lambda m: (m.path, m.line, m.column, m.kind, m.mutated))


def apply(text, mutant):
    """The file's text with the mutant in place. Refuses when the line no
    longer reads as it did when the mutant was found."""
    lines = text.split("\n")
    if lines[mutant.line - 1] != mutant.original:
        raise ValueError(f"{mutant.path}:{mutant.line} has changed since it was read")
    lines[mutant.line - 1] = mutant.mutated
    return "\n".join(lines)


# --- known equivalent mutants ----------------------------------------------

_EQUIVALENT = re.compile(r"^(?P<path>[^\s:]+):(?P<line>\d+): (?P<original>.+?)" + ARROW
                         + r"(?P<mutated>.+?)\s{2,}# (?P<reason>\S.*)$")


def parse_equivalents(text, source="equivalent list"):
    """Maps (path, original, mutated) to the reason given. Blank lines and
    lines starting with `#` are comments."""
    known = {}
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        match = _EQUIVALENT.match(line.rstrip())
        if not match:
            raise ValueError(f"{source}:{number}: expected "
                             f"'path:line: original{ARROW}mutant  # reason'")
        known[(match["path"], match["original"].strip(), match["mutated"].strip())] = \
            match["reason"].strip()
    return known
