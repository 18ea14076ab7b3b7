// getPronounceData, getNumVals and getkHanYuData, read from one Record.
#include "query/RecordAccess.h"

namespace kelvorn_private {

std::vector<std::string>& UnihanData::getPronounceData(std::vector<std::string>& out, int codePoint,
                                                       int prop) const {
  Record(*this, codePoint).readings(prop, &out);
  return out;
}

int UnihanData::getNumVals(int codePoint, int prop) const { return Record(*this, codePoint).numVals(prop); }

int UnihanData::getkHanYuData(std::uint32_t codePoint, int* volume, int* page, int* position,
                              int* virtualFlag) const {
  HanYuRef ref;
  if (!Record(*this, static_cast<std::int32_t>(codePoint)).hanYu(&ref)) return -1;
  *volume = ref.volume;
  *page = ref.page;
  *position = ref.position;
  *virtualFlag = ref.virtualFlag;
  return 0;
}

}  // namespace kelvorn_private
