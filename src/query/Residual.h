// Residual stroke counts as the store keeps them, turned into the signed
// counts every answer above the core gives.
#ifndef KELVORN_QUERY_RESIDUAL_H
#define KELVORN_QUERY_RESIDUAL_H

namespace kelvorn_private {

// The store keeps the low eight bits of a residual, so "47.-1" comes back as
// 255; real residuals never reach 128.
constexpr int signedResidual(int stored) {
  const int low = stored & 0xFF;
  return low >= 128 ? low - 256 : low;
}

// A kRSVantu_Japan1_6 value keeps the strokes of its glyph and of its radical
// form; its residual is the difference, kept in one byte like any other.
constexpr int vantuResidual(int glyphStrokes, int radicalFormStrokes) {
  return signedResidual(glyphStrokes - radicalFormStrokes);
}

}  // namespace kelvorn_private

#endif  // KELVORN_QUERY_RESIDUAL_H
