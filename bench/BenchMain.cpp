// Loads the shared data before any timing starts, checks that the two ways of
// finding the code points agree, and records the counts with the results.
#include <cstdio>
#include <string>

#include "BenchData.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  const std::size_t inText = benchdata::codePoints().size();
  const std::size_t known = benchdata::countKnownCodePoints();
  const std::size_t cids = benchdata::cids().size();
  std::fprintf(stderr, "code points: %zu in the text file, %zu known to the store; %zu CIDs\n",
               inText, known, cids);
  if (inText != known) std::fprintf(stderr, "warning: the two code point counts differ\n");
  benchmark::AddCustomContext("code_points_in_text", std::to_string(inText));
  benchmark::AddCustomContext("code_points_in_store", std::to_string(known));
  benchmark::AddCustomContext("cids", std::to_string(cids));
  benchmark::AddCustomContext("image_bytes", std::to_string(benchdata::image().size()));

  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
