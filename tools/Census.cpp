#include "Census.h"

namespace unihan_tool {

Census takeCensus(kelvorn::UnihanMgr& mgr) {
  constexpr std::uint32_t kLast = 0x10FFFF;
  Census census;
  bool inBlock = false;
  for (std::uint32_t cp = 0; cp <= kLast; ++cp) {
    const bool held = mgr.getNumVals(static_cast<int>(cp), kelvorn::kMandarin) != -1;
    if (held && !inBlock) census.blocks.emplace_back(cp, cp);
    if (held) {
      census.blocks.back().second = cp;
      ++census.codePoints;
    }
    inBlock = held;
  }
  return census;
}

}  // namespace unihan_tool
