// Residual stroke counts as the store keeps them, turned into the signed
// counts every answer above the core gives.
#ifndef KELVORN_QUERY_RESIDUAL_H
#define KELVORN_QUERY_RESIDUAL_H

#include "kelvorn/UnihanIndex.h"

namespace kelvorn_private {

using kelvorn::signedResidual;

// A kRSVantu_Japan1_6 value keeps the strokes of its glyph and of its radical
// form; its residual is the difference, kept in one byte like any other.
constexpr int vantuResidual(int glyphStrokes, int radicalFormStrokes) {
  return signedResidual(glyphStrokes - radicalFormStrokes);
}

}  // namespace kelvorn_private

#endif  // KELVORN_QUERY_RESIDUAL_H
