// The sort keys' order and the residual's sign.
#include <tuple>

#include "kelvorn/UnihanIndex.h"

namespace kelvorn {
namespace {

// Characters without the value go last: sorting on "lacks it" puts false
// (has it) first.
auto rank(const RadicalStrokeKey& k) {
  return std::make_tuple(!k.hasValue, k.radical, k.residual, k.codePoint);
}

}  // namespace

bool operator<(const RadicalStrokeKey& a, const RadicalStrokeKey& b) { return rank(a) < rank(b); }

bool operator==(const RadicalStrokeKey& a, const RadicalStrokeKey& b) {
  return rank(a) == rank(b);
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

// The store keeps the low eight bits of a residual, so "47.-1" comes back as
// 255; real residuals never reach 128.
int signedResidual(int storedResidual) noexcept {
  const int low = storedResidual & 0xFF;
  return low >= 128 ? low - 256 : low;
}

}  // namespace kelvorn
