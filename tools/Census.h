// The blocks of held code points, for the compile report.
#ifndef KELVORN_TOOLS_CENSUS_H
#define KELVORN_TOOLS_CENSUS_H

#include <cstdint>
#include <utility>
#include <vector>

#include "kelvorn/Unihan.h"

namespace unihan_tool {

struct Census {
  // Each run of consecutive held code points, as its first and last.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> blocks;
  std::uint64_t codePoints = 0;
};

Census takeCensus(const kelvorn::Unihan& unihan);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CENSUS_H
