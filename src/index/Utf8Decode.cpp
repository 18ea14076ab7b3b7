#include "index/Utf8Decode.h"

namespace kelvorn_index_private {
namespace {

// Length of the sequence a lead byte starts and the payload bits it carries;
// 0 for a byte that cannot start one (continuations, C0, C1, F5..FF).
int sequenceLength(unsigned char lead, char32_t* bits) noexcept {
  if (lead < 0x80) {
    *bits = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    *bits = lead & 0x1FU;
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    *bits = lead & 0x0FU;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    *bits = lead & 0x07U;
    return 4;
  }
  return 0;
}

// The smallest value each length may carry, so that overlong forms fail.
constexpr char32_t kMinForLength[5] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace

bool nextCodePoint(std::string_view text, std::size_t* pos, char32_t* codePoint) noexcept {
  const std::size_t at = *pos;
  if (at >= text.size()) return false;
  char32_t cp = 0;
  const int length = sequenceLength(static_cast<unsigned char>(text[at]), &cp);
  if (length == 0 || text.size() - at < static_cast<std::size_t>(length)) return false;
  for (int k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(text[at + static_cast<std::size_t>(k)]);
    if ((byte & 0xC0U) != 0x80U) return false;
    cp = (cp << 6) | (byte & 0x3FU);
  }
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (cp < kMinForLength[length] || cp > 0x10FFFF || surrogate) return false;
  *codePoint = cp;
  *pos = at + static_cast<std::size_t>(length);
  return true;
}

bool isValidUtf8(std::string_view text) noexcept {
  std::size_t pos = 0;
  char32_t cp = 0;
  while (pos < text.size()) {
    if (!nextCodePoint(text, &pos, &cp)) return false;
  }
  return true;
}

}  // namespace kelvorn_index_private
