"""Tests of the mutant finder that scripts/mutate relies on: a mutant it
finds in the wrong place wastes a build, and one it applies wrongly could
leave the sources changed."""
import difflib
import shutil
import tempfile
import unittest
from pathlib import Path

import mutants
import outcomes

SOURCE = r'''#include <vector>
#define LIMIT(a, b) ((a) < (b) ? 1 : 2)

namespace demo {

static_assert(sizeof(int) == 4 &&
              sizeof(char) < 2, "a < b");
constexpr int kLimit = 10;
char buffer[64];

class Box {
 public:
  void put(const std::vector<int>& values, int&& moved);
  virtual int size() const = 0;
  bool empty() const { return count_ == 0; }

 private:
  int count_ = 0;
};

int f(int a, int b) {
  const char* text = "a < b && c == 1";  // x > y || z - 1
  /* a <= b
     c != 2 */ int c = a + b;
  if (a < b && c != 'x') return 1;
  c = a - 1;
  g(a, b);
#define LONG(a) \
  ((a) + 1)
  c = a +
      g(b, a);
  return c;
}

bool h() { return true; }

}  // namespace demo
'''


def mutants_of(text):
    return mutants.file_mutants("src/text/Demo.cpp", text)


def on_line(found, number):
    return [m for m in found if m.line == number]


class WhereMutantsAre(unittest.TestCase):
    def setUp(self):
        self.found = mutants_of(SOURCE)
        self.lines = SOURCE.split("\n")

    def line_of(self, text):
        return next(i for i, line in enumerate(self.lines, 1) if text in line)

    def test_nothing_in_comments_literals_preprocessor_or_static_assert(self):
        for text in ("#define LIMIT", "((a) + 1)", "static_assert", "sizeof(char) < 2",
                     "const char* text", "/* a <= b", "c != 2 */", "#include"):
            number = self.line_of(text)
            changed = [m for m in on_line(self.found, number)
                       if m.column < self.lines[number - 1].find("*/")
                       or "*/" not in self.lines[number - 1]]
            self.assertEqual(changed, [], text)

    def test_code_after_a_block_comment_is_mutated(self):
        number = self.line_of("int c = a + b;")
        kinds = {m.mutated.strip()[-6:] for m in on_line(self.found, number)}
        self.assertEqual(kinds, {"a - b;"})

    def test_declarations_outside_functions_only_mutate_initialisers(self):
        for text in ("char buffer[64]", "std::vector<int>& values", "virtual int size() const = 0"):
            self.assertEqual(on_line(self.found, self.line_of(text)), [], text)
        self.assertEqual({m.mutated.strip() for m in on_line(self.found, self.line_of("kLimit"))},
                         {"constexpr int kLimit = 11;", "constexpr int kLimit = 9;"})
        self.assertEqual({m.kind for m in on_line(self.found, self.line_of("int count_ = 0"))},
                         {"constant"})

    def test_every_kind_inside_function_bodies(self):
        by_line = {number: {(m.kind, m.mutated.strip()) for m in on_line(self.found, number)}
                   for number in range(1, len(self.lines) + 1)}
        self.assertIn(("comparison", "bool empty() const { return count_ != 0; }"),
                      by_line[self.line_of("bool empty()")])
        condition = by_line[self.line_of("if (a < b")]
        self.assertIn(("comparison", "if (a <= b && c != 'x') return 1;"), condition)
        self.assertIn(("comparison", "if (a < b && c == 'x') return 1;"), condition)
        self.assertIn(("logic", "if (a < b || c != 'x') return 1;"), condition)
        self.assertEqual(by_line[self.line_of("c = a - 1;")],
                         {("arithmetic", "c = a + 1;"), ("constant", "c = a - 2;"),
                          ("constant", "c = a - 0;"), ("delete", ";")})
        self.assertEqual(by_line[self.line_of("g(a, b);")], {("delete", ";")})
        self.assertEqual(by_line[self.line_of("return true;")], {("return", "bool h() { return false; }")})
        # Neither `return` nor the tail of a statement is a statement to delete.
        for text in ("return c;", "g(b, a);"):
            self.assertNotIn("delete", {k for k, _ in by_line[self.line_of(text)]}, text)

    def test_each_mutant_is_one_change_to_its_line(self):
        self.assertGreater(len(self.found), 10)
        for m in self.found:
            self.assertEqual(m.original, self.lines[m.line - 1])
            if m.kind == "delete":
                self.assertEqual(m.mutated.strip(), ";")
                continue
            changes = [op for op in difflib.SequenceMatcher(None, m.original, m.mutated,
                                                            autojunk=False).get_opcodes()
                       if op[0] != "equal"]
            self.assertEqual(len(changes), 1, m.describe())
            self.assertEqual(m.original[:m.column], m.mutated[:m.column])
            mutated_text = mutants.apply(SOURCE, m).split("\n")
            self.assertEqual([i + 1 for i, (a, b) in enumerate(zip(self.lines, mutated_text))
                              if a != b], [m.line])

    def test_hex_and_octal_constants_keep_their_base(self):
        found = mutants_of("int f() { return 0x0F + 010u; }\n")
        self.assertEqual({m.mutated for m in found if m.kind == "constant"},
                         {"int f() { return 0x10 + 010u; }", "int f() { return 0xE + 010u; }",
                          "int f() { return 0x0F + 011u; }", "int f() { return 0x0F + 07u; }"})

    def test_apply_refuses_a_changed_line(self):
        m = on_line(self.found, self.line_of("g(a, b);"))[0]
        with self.assertRaises(ValueError):
            mutants.apply(SOURCE.replace("g(a, b);", "g(b, a);"), m)


class Choice(unittest.TestCase):
    def setUp(self):
        self.root = Path(tempfile.mkdtemp(prefix="mutants-test-"))
        self.addCleanup(shutil.rmtree, self.root)
        for name in ("src/text/Demo.cpp", "src/store/Demo.h", "tools/Demo.cpp"):
            (self.root / name).parent.mkdir(parents=True, exist_ok=True)
            (self.root / name).write_text(SOURCE, encoding="utf-8")
        (self.root / "src/text/notes.txt").write_text("a < b;\n", encoding="utf-8")

    def test_same_seed_same_mutants_and_shorter_runs_are_prefixes(self):
        candidates = mutants.collect(self.root)
        self.assertEqual({m.path for m in candidates},
                         {"src/text/Demo.cpp", "src/store/Demo.h", "tools/Demo.cpp"})
        first = mutants.choose(candidates, 20, seed=1)
        self.assertEqual(first, mutants.choose(mutants.collect(self.root), 20, seed=1))
        self.assertNotEqual(first, mutants.choose(candidates, 20, seed=2))
        self.assertTrue(set(mutants.choose(candidates, 5, seed=1)) <= set(first))
        self.assertEqual(len(mutants.choose(candidates, 10 ** 6, seed=1)), len(candidates))

    def test_only_restricts_to_a_folder(self):
        self.assertEqual({m.path for m in mutants.collect(self.root, ["src/store"])},
                         {"src/store/Demo.h"})
        self.assertEqual(mutants.folder_of("src/app/files/X.cpp"), "src/app")


class Equivalents(unittest.TestCase):
    def test_matched_by_file_and_text_not_line_number(self):
        listed = ("# comment\n\n"
                  "src/text/Demo.cpp:1: c = a - 1; → c = a - 0;  # the same result, since a > 0\n")
        known = mutants.parse_equivalents(listed)
        found = mutants_of(SOURCE)
        moved = mutants_of("\n\n" + SOURCE)
        for group in (found, moved):
            matched = [m for m in group if m.key() in known]
            self.assertEqual([m.mutated.strip() for m in matched], ["c = a - 0;"])
        self.assertEqual(known[matched[0].key()], "the same result, since a > 0")
        elsewhere = mutants.file_mutants("src/text/Other.cpp", SOURCE)
        self.assertFalse([m for m in elsewhere if m.key() in known])

    def test_entries_without_reason_or_arrow_are_refused(self):
        for bad in ("src/a.cpp:3: x < y → x <= y\n", "src/a.cpp:3: x < y  # reason\n",
                    "x < y → x <= y  # reason\n"):
            with self.assertRaises(ValueError, msg=bad):
                mutants.parse_equivalents(bad)


CTEST_FAILURE = """\
 1/4 Test  #7: tool.show ....................   Passed    0.41 sec
 2/4 Test  #3: StoreTest.Empty ..............***Failed    0.02 sec
      Start  9: python
 3/4 Test #12: ImageTest.Cut ................Subprocess aborted***Exception:   0.30 sec

50% tests passed, 2 tests failed out of 4

The following tests did not run:
\t  5 - ThreadTest.Many (Skipped)
\t  6 - StoreTest.DISABLED_Huge (Disabled)

The following tests FAILED:
\t  3 - StoreTest.Empty (Failed)
\t 12 - ImageTest.Cut (Subprocess aborted)
\t 14 - tool.hang (Timeout)
\t 15 - FilesTest.Crash (Exception: SegFault)
Errors while running CTest
"""


class Outcomes(unittest.TestCase):
    def test_every_failed_test_is_named_with_its_way_of_failing_and_no_skipped_one(self):
        self.assertEqual(outcomes.failed_tests(CTEST_FAILURE),
                         [(3, "StoreTest.Empty", "Failed"), (12, "ImageTest.Cut", "Subprocess aborted"),
                          (14, "tool.hang", "Timeout"), (15, "FilesTest.Crash", "Exception: SegFault")])
        self.assertEqual(outcomes.failed_tests(CTEST_FAILURE.split("The following tests FAILED")[0]), [])

    def test_limits_come_from_each_tests_best_time(self):
        first = outcomes.passed_times(CTEST_FAILURE)
        self.assertEqual(first, {7: ("tool.show", 0.41)})
        best = outcomes.best_times([first, {7: ("tool.show", 2.0), 8: ("python", 40.0)},
                                    {7: ("tool.show", 0.2)}])
        self.assertEqual(best, {7: ("tool.show", 0.2), 8: ("python", 40.0)})
        limits = outcomes.time_limits(best, factor=5, floor=30)
        self.assertEqual(limits, {7: 31.0, 8: 230.0})
        self.assertEqual(outcomes.timeouts_file(limits, {7: "tool.show", 8: "python"}),
                         "set_tests_properties([=[tool.show]=] PROPERTIES TIMEOUT 31)\n"
                         "set_tests_properties([=[python]=] PROPERTIES TIMEOUT 230)\n")

    def test_only_the_compiler_or_linker_refusing_a_mutant_is_no_compile(self):
        cases = [
            ("[ 40%] Building CXX object x.o\n/w/src/a.cpp:12:5: error: expected ';'\n"
             "gmake[2]: *** [x.o] Error 1\n", "no-compile", "/w/src/a.cpp:12:5: error: expected ';'"),
            ("/usr/bin/ld: a.o: undefined reference to `f()'\ncollect2: error: ld returned 1 exit status\n"
             "gmake[2]: *** Error 1\n", "no-compile", "/usr/bin/ld: a.o: undefined reference to `f()'"),
            ("[ 60%] Compiling the bundled images\nunihan: bad line 3\ngmake[2]: *** [img] Error 1\n",
             "killed", "build step: unihan: bad line 3"),
            ("Segmentation fault\nCMake Error at gtest: error while listing tests\n"
             "gmake[2]: *** [t] Error 1\n", "killed",
             "build step: CMake Error at gtest: error while listing tests"),
        ]
        for output, outcome, detail in cases:
            self.assertEqual(outcomes.build_failure(output), (outcome, detail), output)

    def test_the_fair_score_leaves_out_only_no_compile_and_equivalent(self):
        runs = ["killed", "timeout", "survived", "unconfirmed", "error", "no-compile", "equivalent"]
        results = [{"file": "src/text/A.cpp", "outcome": o} for o in runs]
        results.append({"file": "tools/B.cpp", "outcome": "killed"})
        folders = outcomes.summarise(results)
        self.assertEqual((folders["src/text"]["score_killed"], folders["src/text"]["scored"]), (2, 5))
        self.assertEqual((folders["tools"]["score_killed"], folders["tools"]["scored"]), (1, 1))
        self.assertEqual(folders["overall"]["score"], 3 / 6)
        self.assertEqual(list(folders), ["src/text", "tools", "overall"])


if __name__ == "__main__":
    unittest.main()
