#!/usr/bin/env python3
"""Runs every example in README.md and docs/*.md and compares its output.

    run_doc_examples.py --build BUILD --source SOURCE --image IMAGE --text TEXT
                        --fields-image IMAGE [--cxx CXX] [--cxxflags FLAGS]
                        [--python PYTHON] [FILE.md ...]

Only fenced blocks (lines of three backquotes at the start of a line) are
examples. Their language tag says what happens to them:

  console   Run. A line that starts with "$ " is a command, run by bash in
            the block's directory; the lines after it, up to the next "$ "
            line, are what it prints (stdout and stderr together). A command
            that exits non-zero fails the example.
  cpp       Run when it defines `main`: compiled and linked as a user's
            program is, through the pkg-config modules of the headers it
            includes (the build tree's uninstalled ones), then run. A cpp
            block without `main` must be marked not run (see below).
  python    Run with the interpreter the module was built for.
  output    What the cpp or python block before it prints on stdout. Every
            cpp or python example is followed by one; only prose may stand
            between them.
  text, sh, cmake
            Not run: synopses, install commands, build snippets, outputs of
            programs that other tests run.

Any other tag, or none, is an error, so that nothing goes unchecked by
accident. A line `<!-- not run -->` directly before a cpp, python or console
fence skips that block (keep these few).

Expected output is compared line by line, exactly, except:
  - a line that is exactly `...` matches any number of lines (none too);
  - `…` (U+2026) inside a line matches any text within that line, e.g. a
    timing (`2097331 bytes, … s`) or the rest of a cut line (`汀 汁 …`).

Each example runs in a fresh temporary directory, removed afterwards, that
holds the bundled image under its own name (e.g. unihan-17.0.bin) and the
bundled text as data/<its name> (e.g. data/unihan-17.0-all.txt). PATH starts
with the build's tools directory (so `unihan` is the build's tool), then a
directory where `python3` is the interpreter the module was built for;
PYTHONPATH is the build's python directory.

Each failing example is reported with its file and line; the exit status is
1 when any failed.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

RUN_TAGS = {"console", "cpp", "python"}
QUIET_TAGS = {"text", "sh", "cmake"}
NOT_RUN = "<!-- not run -->"
TIMEOUT = 300
FENCE = re.compile(r"^```(.*)$")


class Block:
    def __init__(self, path, line, tag, lines, not_run):
        self.path, self.line, self.tag, self.lines, self.not_run = path, line, tag, lines, not_run
        self.output = None  # the output Block that follows a cpp or python example

    def where(self):
        return f"{self.path}:{self.line}"


def parse(path, text, errors):
    """The fenced blocks of one Markdown file, outputs attached to their examples."""
    blocks, previous = [], ""  # previous: the last non-blank line before a fence
    lines = iter(enumerate(text.split("\n"), 1))
    for n, line in lines:
        m = FENCE.match(line)
        if not m:
            previous = line.strip() or previous
            continue
        body = []
        for _, inner in lines:
            if inner == "```":
                break
            body.append(inner)
        else:
            errors.append(f"{path}:{n}: fence never closed")
            break
        blocks.append(Block(path, n, m.group(1).strip(), body, previous == NOT_RUN))
        previous = "```"

    result = []
    for b in blocks:
        if b.tag == "output":
            last = result[-1] if result else None
            if last is None or last.tag not in ("cpp", "python") or last.output is not None \
                    or last.not_run:
                errors.append(f"{b.where()}: an output block must follow a cpp or python example")
            else:
                last.output = b
            continue
        if b.tag not in RUN_TAGS | QUIET_TAGS:
            errors.append(f"{b.where()}: block tagged {b.tag!r}: tag it console, cpp, python, "
                          f"output, or one of {', '.join(sorted(QUIET_TAGS))} (not run)")
            continue
        if b.not_run and b.tag not in RUN_TAGS:
            errors.append(f"{b.where()}: {NOT_RUN} before a {b.tag} block, which is never run")
        if b.tag == "cpp" and not b.not_run and not re.search(r"\bmain\s*\(", "\n".join(b.lines)):
            errors.append(f"{b.where()}: cpp block without main: make it a program or mark "
                          f"it {NOT_RUN}")
        result.append(b)
    for b in result:
        if b.tag in ("cpp", "python") and not b.not_run and b.output is None:
            errors.append(f"{b.where()}: {b.tag} example without an output block after it")
    return result


def matches(expected, actual):
    """Whether actual lines match expected lines under the elision rules."""
    pattern = "".join("(?:[^\n]*\n)*?" if e == "..." else
                      "[^\n]*".join(re.escape(p) for p in e.split("…")) + "\n" for e in expected)
    return re.fullmatch(pattern, "".join(a + "\n" for a in actual)) is not None


def output_lines(text):
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines


def describe(expected, actual):
    return ("    expected:\n" + "".join(f"      | {e}\n" for e in expected) +
            "    got:\n" + "".join(f"      | {a}\n" for a in actual))


# The pkg-config module a header belongs to; every program takes the core's.
MODULES = {"kelvorn/Unihan.h": "kelvorn-unihan-app", "kelvorn/UnihanIndex.h": "kelvorn-unihan-index",
           "kelvorn/UnihanFields.h": "kelvorn-unihan-fields"}


class Runner:
    def __init__(self, args):
        self.args = args
        self.env = dict(os.environ, PYTHONPATH=os.path.join(args.build, "python"),
                        PYTHONDONTWRITEBYTECODE="1", LC_ALL="C.UTF-8",
                        PKG_CONFIG_PATH=os.path.join(args.build, "pkgconfig"))

    def workdir(self):
        """`python3` in console commands is the module's interpreter, whatever
        else PATH holds (a pyenv or venv shim would lack the module's ABI)."""
        d = tempfile.mkdtemp(prefix="kelvorn-doc-example-")
        os.mkdir(os.path.join(d, ".bin"))
        os.symlink(self.args.python, os.path.join(d, ".bin", "python3"))
        self.env["PATH"] = os.pathsep.join([os.path.join(self.args.build, "tools"),
                                            os.path.join(d, ".bin"), os.environ.get("PATH", "")])
        for image in (self.args.image, self.args.fields_image):
            shutil.copyfile(image, os.path.join(d, os.path.basename(image)))
        os.mkdir(os.path.join(d, "data"))
        os.symlink(os.path.abspath(self.args.text),
                   os.path.join(d, "data", os.path.basename(self.args.text)))
        return d

    def run(self, command, cwd, merge=True):
        return subprocess.run(command, cwd=cwd, env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT if merge else subprocess.PIPE,
                              timeout=TIMEOUT, check=False)

    def compare(self, where, what, p, expected, stderr=b""):
        """None when `p` exited with 0 and printed what was expected, else the failure."""
        actual = output_lines(p.stdout.decode("utf-8", "replace"))
        if p.returncode != 0:
            failure = f"exited with {p.returncode}"
        elif not matches(expected, actual):
            failure = "printed something else"
        else:
            return None
        return (f"{where}: {what} {failure}\n" + describe(expected, actual) +
                ("    stderr:\n" + stderr.decode("utf-8", "replace") if stderr else ""))

    def console(self, b, d):
        commands = []
        for n, line in enumerate(b.lines):
            if line.startswith("$ "):
                commands.append((b.line + 1 + n, line[2:], []))
            elif commands:
                commands[-1][2].append(line)
            elif line.strip():
                return f"{b.path}:{b.line + 1 + n}: text before the first `$ ` command"
        if not commands:
            return f"{b.where()}: console block without a `$ ` command"
        for line, command, expected in commands:
            failure = self.compare(f"{b.path}:{line}", f"`{command}`",
                                   self.run(["bash", "-c", command], d), expected)
            if failure:
                return failure
        return None

    def program(self, b, d, command):
        p = self.run(command, d, merge=False)
        return self.compare(b.where(), f"{b.tag} example (output block at line {b.output.line})",
                            p, b.output.lines, p.stderr)

    def cpp(self, b, d):
        source = "\n".join(b.lines) + "\n"
        with open(os.path.join(d, "example.cpp"), "w", encoding="utf-8") as f:
            f.write(source)
        modules = ["kelvorn-unihan"] + [m for h, m in MODULES.items() if h in source]
        flags = self.run(["pkg-config", "--cflags", "--libs"] + modules, d, merge=False)
        p = self.run([self.args.cxx, "-std=c++17"] + self.args.cxxflags.split() +
                     ["example.cpp", "-o", "example"] + flags.stdout.decode().split() +
                     [f"-Wl,-rpath,{os.path.abspath(self.args.build)}"], d)
        if flags.returncode != 0 or p.returncode != 0:
            return (f"{b.where()}: cpp example does not compile:\n" +
                    (flags.stderr + p.stdout).decode("utf-8", "replace"))
        return self.program(b, d, ["./example"])

    def python(self, b, d):
        with open(os.path.join(d, "example.py"), "w", encoding="utf-8") as f:
            f.write("\n".join(b.lines) + "\n")
        return self.program(b, d, [self.args.python, "example.py"])

    def example(self, b):
        d = self.workdir()
        try:
            return getattr(self, b.tag)(b, d)
        except subprocess.TimeoutExpired:
            return f"{b.where()}: {b.tag} example took longer than {TIMEOUT} s"
        finally:
            shutil.rmtree(d, ignore_errors=True)


def doc_files(source):
    docs = os.path.join(source, "docs")
    names = sorted(n for n in os.listdir(docs) if n.endswith(".md"))
    return [os.path.join(source, "README.md")] + [os.path.join(docs, n) for n in names]


def run_files(args, files):
    errors, examples = [], []
    for path in files:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        shown = os.path.relpath(path, args.source)
        examples += [b for b in parse(shown, text, errors) if b.tag in RUN_TAGS and not b.not_run]
    runner = Runner(args)
    failed = 0
    for b in examples:
        failure = runner.example(b)
        if failure:
            failed += 1
            errors.append(failure)
        else:
            print(f"ok   {b.where()} ({b.tag})")
    for e in errors:
        print("FAIL " + e)
    print(f"{len(examples)} examples run, {failed} failed, "
          f"{len(errors) - failed} errors in the documents")
    return 1 if errors else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for option in ("--build", "--source", "--image", "--text", "--fields-image"):
        ap.add_argument(option, required=True)
    ap.add_argument("--cxx", default="c++")
    ap.add_argument("--cxxflags", default="-Wall -Wextra")
    ap.add_argument("--python", default="/usr/bin/python3")
    ap.add_argument("files", nargs="*")
    args = ap.parse_args()
    return run_files(args, args.files or doc_files(args.source))


if __name__ == "__main__":
    sys.exit(main())
