// Writes the inputs of the lookup benchmarks to files, so that bench/run can
// time the tool on them.
//
//   write_lookup_inputs nested-image FILE | sorted-text FILE
#include <cstdio>
#include <fstream>
#include <string>

#include "LookupInputs.h"

int main(int argc, char** argv) {
  const std::string what = argc == 3 ? argv[1] : "";
  if (what != "nested-image" && what != "sorted-text") {
    (void)std::fprintf(stderr, "usage: write_lookup_inputs nested-image FILE | sorted-text FILE\n");
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << (what == "nested-image" ? lookupinputs::nestedImage() : lookupinputs::sortedText());
  out.close();
  return out ? 0 : 1;
}
