// getPronounceData, getNumVals and getkHanYuData.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

bool isReadingProp(int prop) {
  return prop >= kelvorn::kHanyuPinlu && prop <= kelvorn::kMandarin;
}

}  // namespace

std::vector<std::string>& UnihanData::getPronounceData(
    std::vector<std::string>& out, int codePoint, int prop) const {
  const Location loc = locate(codePoint);
  if (loc.block == nullptr || loc.index >= loc.block->chars.size() ||
      loc.index >= loc.block->readings.size()) {
    return out;
  }
  const std::vector<std::string>* list = loc.block->readings[loc.index].list(prop);
  if (list != nullptr) out.insert(out.end(), list->begin(), list->end());
  return out;
}

int UnihanData::getNumVals(int codePoint, int prop) const {
  const Location loc = locate(codePoint);
  if (loc.block == nullptr) return -1;
  const UnihanBlock& block = *loc.block;
  if (isReadingProp(prop)) {
    if (loc.index >= block.readings.size()) return 0;
    return static_cast<int>(block.readings[loc.index].list(prop)->size());
  }
  if (loc.index >= block.chars.size()) return 0;
  const UnihanCharRec& rec = block.chars[loc.index];
  switch (prop) {
    case kelvorn::kRSUnicode: return (rec.flags & kFlagSecondUnicode) != 0 ? 2 : 0;
    case kelvorn::kRSVantu_Japan1_6: return static_cast<int>(rec.cids.size());
    default: return 0;
  }
}

int UnihanData::getkHanYuData(std::uint32_t codePoint, int* volume, int* page,
                              int* position, int* virtualFlag) const {
  const Location loc = locate(static_cast<std::int32_t>(codePoint));
  if (loc.block == nullptr || loc.index >= loc.block->hanyu.size()) return -1;
  const HanYuRef& ref = loc.block->hanyu[loc.index];
  *volume = ref.volume;
  *page = ref.page;
  *position = ref.position;
  *virtualFlag = ref.virtualFlag;
  return 0;
}

}  // namespace kelvorn_private
