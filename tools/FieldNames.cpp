#include "FieldNames.h"

#include <cstddef>

namespace unihan_tool {
namespace {

constexpr const char* kFieldNames[] = {
    "kRSUnicode",    "kRSKangXi",    "kRSKanWa",    "kRSKorean",  "kRSJapanese", "kRSVantu_Japan1_6",
    "kTotalStrokes", "kHanyuPinlu",  "kJapaneseKun", "kJapaneseOn", "kMandarin",  "kHanYu"};

}  // namespace

std::string fieldName(kelvorn::unihanPropT field) {
  return kFieldNames[static_cast<std::size_t>(field)];
}

}  // namespace unihan_tool
