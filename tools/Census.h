// What a store holds, counted through the public queries alone.
#ifndef KELVORN_TOOLS_CENSUS_H
#define KELVORN_TOOLS_CENSUS_H

#include <cstdint>
#include <utility>
#include <vector>

#include "kelvorn/UnihanMgr.h"

namespace unihan_tool {

struct Census {
  // Each block as its first and last code point.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> blocks;
  std::uint64_t codePoints = 0;
};

// Walks U+0000..U+10FFFF; a code point is held when getNumVals answers for it,
// and a run of held code points is one block.
Census takeCensus(kelvorn::UnihanMgr& mgr);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CENSUS_H
