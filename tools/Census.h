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
// Each command takes the census at most once: it costs one lookup per code
// point of the whole code space.
Census takeCensus(kelvorn::UnihanMgr& mgr);

// True when some code point is held; stops at the first.
bool holdsAnyCodePoint(kelvorn::UnihanMgr& mgr);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CENSUS_H
