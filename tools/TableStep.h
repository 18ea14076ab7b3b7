// What every table step of the build (unihan-core-tables,
// unihan-lexicon-tables) does around its own work: one command line, one
// way of failing, and the tables written whole or not at all.
#ifndef KELVORN_TOOLS_TABLESTEP_H
#define KELVORN_TOOLS_TABLESTEP_H

#include <cstdio>
#include <exception>
#include <string>

#include "app/files/StagedOutput.h"

namespace unihan_tool {

// For the command line "NAME INPUT OUTPUT", writes tablesOf(INPUT) to
// OUTPUT. Exits with 0 once written, 1 when that failed (the reason on
// standard error) and 2 for any other command line.
template <typename TablesOf>
int runTableStep(int argc, char** argv, const char* name, const char* input, TablesOf tablesOf) {
  if (argc != 3) {
    (void)std::fprintf(stderr, "usage: %s %s OUTPUT\n", name, input);
    return 2;
  }
  try {
    kelvorn_files::writeFileAtomically(argv[2], tablesOf(std::string(argv[1])));
  } catch (const std::exception& e) {
    (void)std::fprintf(stderr, "%s: %s\n", name, e.what());
    return 1;
  }
  return 0;
}

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_TABLESTEP_H
