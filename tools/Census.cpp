#include "Census.h"

namespace unihan_tool {
namespace {

constexpr std::uint32_t kLast = 0x10FFFF;

// One query per code point, the cheapest there is: the record lookup and a
// bounds check, no copy of any value.
bool isHeld(kelvorn::UnihanMgr& mgr, std::uint32_t cp) {
  return mgr.getNumVals(static_cast<int>(cp), kelvorn::kMandarin) != -1;
}

}  // namespace

Census takeCensus(kelvorn::UnihanMgr& mgr) {
  Census census;
  bool inBlock = false;
  for (std::uint32_t cp = 0; cp <= kLast; ++cp) {
    const bool held = isHeld(mgr, cp);
    if (held && !inBlock) census.blocks.emplace_back(cp, cp);
    if (held) {
      census.blocks.back().second = cp;
      ++census.codePoints;
    }
    inBlock = held;
  }
  return census;
}

bool holdsAnyCodePoint(kelvorn::UnihanMgr& mgr) {
  for (std::uint32_t cp = 0; cp <= kLast; ++cp) {
    if (isHeld(mgr, cp)) return true;
  }
  return false;
}

}  // namespace unihan_tool
