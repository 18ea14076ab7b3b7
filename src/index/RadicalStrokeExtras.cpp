// Reading the two values the radical-stroke order needs beyond the core's
// store: kRSUnicode with its apostrophes, and kCompatibilityVariant.
#include <algorithm>
#include <cstddef>

#include "kelvorn/UnihanIndex.h"

namespace kelvorn {
namespace {

constexpr int kMaxRadical = 214;
constexpr int kMaxMarks = 3;
constexpr int kMaxResidual = 99;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// Up to `maxDigits` decimal digits at *pos, at least one.
bool readDecimal(std::string_view text, std::size_t* pos, std::size_t maxDigits, int* out) {
  int value = 0;
  std::size_t digits = 0;
  while (*pos < text.size() && text[*pos] >= '0' && text[*pos] <= '9' && digits < maxDigits) {
    value = value * 10 + (text[*pos] - '0');
    ++*pos;
    ++digits;
  }
  *out = value;
  return digits > 0;
}

// One piece: radical, apostrophes, '.', residual (a minus sign allowed).
bool readPiece(std::string_view piece, RadicalStrokeExtras::Value* out) {
  std::size_t pos = 0;
  if (!readDecimal(piece, &pos, 3, &out->radical)) return false;
  out->marks = 0;
  while (pos < piece.size() && piece[pos] == '\'') {
    ++out->marks;
    ++pos;
  }
  if (pos >= piece.size() || piece[pos] != '.') return false;
  ++pos;
  const bool negative = pos < piece.size() && piece[pos] == '-';
  if (negative) ++pos;
  if (!readDecimal(piece, &pos, 2, &out->residual)) return false;
  if (negative) out->residual = -out->residual;
  return pos == piece.size() && out->radical >= 1 && out->radical <= kMaxRadical &&
         out->marks <= kMaxMarks && out->residual <= kMaxResidual;
}

}  // namespace

bool RadicalStrokeExtras::addRSUnicode(char32_t codePoint, std::string_view value) {
  std::vector<Value> read;
  std::size_t start = 0;
  while (start <= value.size()) {
    const std::size_t end = std::min(value.find(' ', start), value.size());
    Value v{codePoint, 0, 0, 0};
    if (!readPiece(value.substr(start, end - start), &v)) return false;
    read.push_back(v);
    start = end + 1;
  }
  if (codePoint > kLastCodePoint) return false;
  values_.insert(values_.end(), read.begin(), read.end());
  return true;
}

bool RadicalStrokeExtras::addCompatibilityVariant(char32_t codePoint, std::string_view value) {
  if (value.size() < 6 || value.size() > 8 || value.substr(0, 2) != "U+") return false;
  char32_t target = 0;
  for (const char c : value.substr(2)) {
    const bool digit = c >= '0' && c <= '9';
    const bool upper = c >= 'A' && c <= 'F';
    if (!digit && !upper) return false;
    target = target * 16 + static_cast<char32_t>(digit ? c - '0' : c - 'A' + 10);
  }
  if (codePoint > kLastCodePoint || target > kLastCodePoint) return false;
  variants_.emplace_back(codePoint, target);
  return true;
}

}  // namespace kelvorn
