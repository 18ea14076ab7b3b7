#include "Census.h"

namespace unihan_tool {

Census takeCensus(const kelvorn::Unihan& unihan) {
  Census census;
  for (const char32_t cp : unihan.codePoints()) {
    if (census.blocks.empty() || census.blocks.back().second + 1 != cp) {
      census.blocks.emplace_back(cp, cp);
    }
    census.blocks.back().second = cp;
    ++census.codePoints;
  }
  return census;
}

}  // namespace unihan_tool
