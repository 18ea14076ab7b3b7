// The sort keys' order and the residual's sign.
#include <algorithm>
#include <cstdint>

#include "index/IndexData.h"
#include "kelvorn/UnihanIndex.h"

namespace kelvorn_index_private {
namespace {

// The Unihan collation puts the main block's unified ideographs first among
// characters of equal radical and residual, with them the twelve unified
// ideographs that stand in the compatibility block, then every other block
// (Extension A, B, ...) by code point.
bool inMainBlock(char32_t cp) noexcept {
  if (cp >= 0x4E00 && cp <= 0x9FFF) return true;
  constexpr char32_t kUnifiedInCompatibility[] = {0xFA0E, 0xFA0F, 0xFA11, 0xFA13,
                                                  0xFA14, 0xFA1F, 0xFA21, 0xFA23,
                                                  0xFA24, 0xFA27, 0xFA28, 0xFA29};
  return std::find(std::begin(kUnifiedInCompatibility), std::end(kUnifiedInCompatibility), cp) !=
         std::end(kUnifiedInCompatibility);
}

}  // namespace

// Bits, high to low: no value (63); radical (48..55); apostrophes (44..47);
// residual, a negative one taken as 0 as the collation does (36..43); not in
// the main block (24); the code point sorted as (0..20).
std::uint64_t orderValue(const kelvorn::RadicalStrokeKey& key) noexcept {
  const char32_t as = key.sortsAs != 0 ? key.sortsAs : key.codePoint;
  if (!key.hasValue) return (std::uint64_t{1} << 63) | key.codePoint;
  const auto field = [](int value, int bits) {
    return static_cast<std::uint64_t>(std::clamp(value, 0, (1 << bits) - 1));
  };
  return field(key.radical, 8) << 48 | field(key.marks, 4) << 44 | field(key.residual, 8) << 36 |
         std::uint64_t{inMainBlock(as) ? 0U : 1U} << 24 | (as & 0x1FFFFF);
}

kelvorn::RadicalStrokeKey radicalStrokeKeyOf(const CharKey* key, char32_t codePoint,
                                             char32_t sortsAs) noexcept {
  if (key == nullptr || !key->hasRadicalStroke) return {false, 0, 0, codePoint};
  return {true, key->radical, kelvorn::signedResidual(key->storedResidual), codePoint, key->marks,
          sortsAs};
}

}  // namespace kelvorn_index_private

namespace kelvorn {

using kelvorn_index_private::orderValue;

bool operator<(const RadicalStrokeKey& a, const RadicalStrokeKey& b) {
  return orderValue(a) < orderValue(b);
}

bool operator==(const RadicalStrokeKey& a, const RadicalStrokeKey& b) {
  return orderValue(a) == orderValue(b);
}

bool operator<(const TotalStrokesKey& a, const TotalStrokesKey& b) {
  if (a.hasValue != b.hasValue) return a.hasValue;
  if (a.totalStrokes != b.totalStrokes) return a.totalStrokes < b.totalStrokes;
  return a.radicalStroke < b.radicalStroke;
}

bool operator==(const TotalStrokesKey& a, const TotalStrokesKey& b) {
  return a.hasValue == b.hasValue && a.totalStrokes == b.totalStrokes &&
         a.radicalStroke == b.radicalStroke;
}

}  // namespace kelvorn
