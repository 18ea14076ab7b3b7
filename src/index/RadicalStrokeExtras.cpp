// Reading the two values the radical-stroke order needs beyond the core's
// store: kRSUnicode with its apostrophes, and kCompatibilityVariant.
#include <cstddef>

#include "kelvorn/UnihanIndex.h"
#include "text/RadicalStrokeGrammar.h"

namespace kelvorn {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool readPiece(std::string_view text, RadicalStrokeExtras::Value* out) {
  kelvorn_private::StrictRadicalStroke read;
  if (!kelvorn_private::readStrictRadicalStroke(text, &read)) return false;
  out->radical = read.radical;
  out->marks = read.marks;
  out->residual = read.residual;
  return true;
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
