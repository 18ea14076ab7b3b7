// getPronounceData, getNumVals and getkHanYuData.
#include "query/RecordAccess.h"

namespace kelvorn_private {

std::vector<std::string>& UnihanData::getPronounceData(std::vector<std::string>& out, int codePoint,
                                                       int prop) const {
  const Location loc = locate(*this, codePoint);
  const int list = readingListOf(prop);
  if (loc.block == nullptr || list < 0 || loc.index >= loc.block->chars.size() ||
      loc.index >= loc.block->readings.size()) {
    return out;
  }
  readingSet(loc.block->readings[loc.index]).forEach(list, [&out](std::string_view s) {
    out.emplace_back(s);
  });
  return out;
}

int UnihanData::getNumVals(int codePoint, int prop) const {
  const Location loc = locate(*this, codePoint);
  if (loc.block == nullptr) return -1;
  const UnihanBlock& block = *loc.block;
  const int list = readingListOf(prop);
  if (list >= 0) {
    if (loc.index >= block.readings.size()) return 0;
    return static_cast<int>(readingSet(block.readings[loc.index]).count(list));
  }
  if (loc.index >= block.chars.size()) return 0;
  const CharRec& rec = block.chars[loc.index];
  switch (prop) {
    case kelvorn::kRSUnicode: return (rec.flags & kFlagSecondUnicode) != 0 ? 2 : 0;
    case kelvorn::kRSVantu_Japan1_6: return static_cast<int>(charView(rec).cidCount());
    default: return 0;
  }
}

int UnihanData::getkHanYuData(std::uint32_t codePoint, int* volume, int* page, int* position,
                              int* virtualFlag) const {
  const Location loc = locate(*this, static_cast<std::int32_t>(codePoint));
  if (loc.block == nullptr || loc.index >= loc.block->hanyu.size()) return -1;
  const HanYuRef ref = loc.block->hanyu[loc.index].decode();
  *volume = ref.volume;
  *page = ref.page;
  *position = ref.position;
  *virtualFlag = ref.virtualFlag;
  return 0;
}

}  // namespace kelvorn_private
