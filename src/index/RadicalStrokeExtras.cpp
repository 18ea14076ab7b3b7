// Reading the two values the radical-stroke order needs beyond the core's
// store: kRSUnicode with its apostrophes, and kCompatibilityVariant.
#include <cstddef>

#include "kelvorn/UnihanIndex.h"
#include "text/RadicalStrokeGrammar.h"

namespace kelvorn {
namespace {

constexpr std::size_t kMaxRadicalDigits = 3;
constexpr std::size_t kMaxResidualDigits = 2;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// The form the order is built on: a radical of one to three digits (zeros
// before it allowed) from 1 to 214, at most three marks, and a residual of
// one or two digits that a minus may precede.
bool readPiece(std::string_view text, RadicalStrokeExtras::Value* out) {
  const kelvorn_private::RadicalStrokePiece piece = kelvorn_private::scanRadicalStroke(text);
  const kelvorn_private::WrittenNumber& radical = piece.radical;
  const kelvorn_private::WrittenNumber& residual = piece.residual;
  if (radical.sign != 0 || radical.digits.size() > kMaxRadicalDigits ||
      piece.marks > kelvorn_private::kMaxRadicalMarks || !residual.present() ||
      residual.sign == '+' || residual.digits.size() > kMaxResidualDigits || !piece.rest.empty()) {
    return false;
  }
  const int strokes = static_cast<int>(residual.magnitude);
  out->radical = static_cast<int>(radical.magnitude);
  out->marks = piece.marks;
  out->residual = residual.sign == '-' ? -strokes : strokes;
  return out->radical >= 1 && out->radical <= kelvorn_private::kLastRadical;
}

}  // namespace

bool RadicalStrokeExtras::addRSUnicode(char32_t codePoint, std::string_view value) {
  std::vector<Value> read;
  const bool wellFormed =
      kelvorn_private::forEachRadicalStrokePiece(value, [&](std::string_view piece) {
        read.push_back({codePoint, 0, 0, 0});
        return readPiece(piece, &read.back());
      });
  if (!wellFormed || codePoint > kLastCodePoint) return false;
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
