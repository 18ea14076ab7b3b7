#include "fields/VariantValues.h"

#include <optional>
#include <utility>

namespace kelvorn_fields_private {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "U+" and 4 to 6 hex digits naming a scalar value, and nothing else.
std::optional<char32_t> parseCodePoint(std::string_view text) {
  if (text.size() < 6 || text.size() > 8 || text[0] != 'U' || text[1] != '+') return std::nullopt;
  char32_t cp = 0;
  for (const char c : text.substr(2)) {
    const int digit = hexDigit(c);
    if (digit < 0) return std::nullopt;
    cp = cp * 16 + static_cast<char32_t>(digit);
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return cp;
}

// A name ("kMatthews") and an optional ":" with letters after it ("T", "TZ").
bool isSource(std::string_view text) {
  if (text.empty() || !isAsciiLetter(text[0])) return false;
  std::size_t i = 1;
  while (i < text.size() && (isAsciiLetter(text[i]) || isDigit(text[i]) || text[i] == '_')) ++i;
  if (i == text.size()) return true;
  if (text[i] != ':' || i + 1 == text.size()) return false;
  for (++i; i < text.size(); ++i) {
    if (!isAsciiLetter(text[i])) return false;
  }
  return true;
}

std::optional<VariantTarget> parseTarget(std::string_view piece) {
  const std::size_t angle = piece.find('<');
  const std::optional<char32_t> cp = parseCodePoint(piece.substr(0, angle));
  if (!cp) return std::nullopt;
  VariantTarget target;
  target.codePoint = *cp;
  if (angle == std::string_view::npos) return target;
  std::string_view rest = piece.substr(angle + 1);
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view source = rest.substr(0, comma);
    if (!isSource(source)) return std::nullopt;
    target.sources.push_back(source);
    if (comma == std::string_view::npos) return target;
    rest.remove_prefix(comma + 1);
  }
}

}  // namespace

VariantValue parseVariantValue(std::string_view value) {
  VariantValue out;
  while (!value.empty()) {
    const std::size_t space = value.find(' ');
    const std::string_view piece = value.substr(0, space);
    if (!piece.empty()) {
      if (std::optional<VariantTarget> target = parseTarget(piece)) {
        out.targets.push_back(std::move(*target));
      } else {
        out.invalid.push_back(piece);
      }
    }
    if (space == std::string_view::npos) break;
    value.remove_prefix(space + 1);
  }
  return out;
}

}  // namespace kelvorn_fields_private
