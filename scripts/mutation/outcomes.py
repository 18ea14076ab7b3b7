"""What a mutant's build and test runs say, and how the outcomes are scored.

ctest's output is read for two things: the time each test took on the
unmutated tree, from which each test gets a time limit of its own, and the
tests that failed on a mutant, each named with the way it failed (Failed,
Timeout, Subprocess aborted, Exception: SegFault, ...). A failed build is
either the compiler refusing the mutant, which leaves it out of the score, or
a program the build runs (the tool compiling the bundled images, a test
listing) failing with it, which is a kill like any other.
"""
import re

import mutants

# A kill is a test that failed with the mutant in place, twice: once in the
# suite and once more alone, so that a test that fails now and then, or one
# slowed by a busy machine, is never taken for a kill.
KILLED = ("killed", "timeout")
# Run but not killed: the suite passed, or a failure did not come back alone,
# or ctest failed without naming a test.
NOT_KILLED = ("survived", "unconfirmed", "error")
# Left out of the score: the compiler refused the mutant, or no test can tell
# it from the original.
LEFT_OUT = ("no-compile", "equivalent")
OUTCOMES = KILLED + NOT_KILLED + LEFT_OUT

PASSED_TEST = re.compile(r"Test\s+#(\d+): (\S+) \.*\s*Passed\s+([\d.]+) sec")
# The summary ctest prints after any failure, one line per failed test:
#	  12 - name (Failed)
FAILED_TEST = re.compile(r"^\s*(\d+) - (\S+) \((.+)\)\s*$", re.MULTILINE)
COMPILER_ERROR = re.compile(r"^\S+:\d+(:\d+)?: (fatal )?error: |undefined reference to|"
                            r"ld returned \d+ exit status", re.MULTILINE)


def passed_times(output):
    """{test number: (name, seconds)} of every test that passed."""
    return {int(number): (name, float(seconds))
            for number, name, seconds in PASSED_TEST.findall(output)}


def best_times(runs):
    """Each test's shortest time over several runs of the suite (each a
    passed_times() map): a test slowed once by a busy machine keeps its
    quiet time."""
    best = {}
    for run in runs:
        for number, (name, seconds) in run.items():
            if number not in best or seconds < best[number][1]:
                best[number] = (name, seconds)
    return best


def time_limits(best, factor, floor):
    """{test number: seconds it may take with a mutant}."""
    return {number: factor * seconds + floor for number, (_, seconds) in best.items()}


def failed_tests(output):
    """[(number, name, how)] of the tests ctest reports failed, whatever the
    way: "Failed", "Timeout", "Subprocess aborted", "Exception: SegFault"..."""
    # Skipped and disabled tests are listed alike, in a section of their own
    # before this one.
    _, heading, failures = output.rpartition("The following tests FAILED:")
    return [(int(number), name, how.strip())
            for number, name, how in FAILED_TEST.findall(failures if heading else "")]


def timeouts_file(limits, names):
    """CMake commands that give each test its limit, over any TIMEOUT the
    project set: ctest's --timeout only fills in where none is set."""
    return "".join(f"set_tests_properties([=[{names[n]}]=] PROPERTIES TIMEOUT {limits[n]:.0f})\n"
                   for n in sorted(limits))


def build_failure(output):
    """("no-compile", the compiler's first error) when the compiler or the
    linker refused the mutant, else ("killed", what a program run by the
    build said before make gave up)."""
    lines = output.splitlines()
    match = COMPILER_ERROR.search(output)
    if match:
        line = output[output.rfind("\n", 0, match.start()) + 1:].split("\n", 1)[0]
        return "no-compile", line.strip()[:300]
    for index, line in enumerate(lines):
        if "***" in line:
            said = [l for l in lines[:index]
                    if l.strip() and not l.startswith(("[", "gmake", "make"))]
            return "killed", "build step: " + (said[-1] if said else line).strip()[:300]
    return "killed", "build step failed"


def summarise(results):
    """Per folder: the count of each outcome and the fair score,
    killed / (run - no-compile - equivalent); then the same over all."""
    def tally(mine):
        counts = {outcome: sum(r["outcome"] == outcome for r in mine) for outcome in OUTCOMES}
        killed = sum(counts[o] for o in KILLED)
        scored = len(mine) - sum(counts[o] for o in LEFT_OUT)
        return dict(counts, total=len(mine), scored=scored, score_killed=killed,
                    score=(killed / scored) if scored else None)

    folders = {}
    for folder in mutants.FOLDERS:
        mine = [r for r in results if mutants.folder_of(r["file"]) == folder]
        if mine:
            folders[folder] = tally(mine)
    if results:
        folders["overall"] = tally(results)
    return folders
