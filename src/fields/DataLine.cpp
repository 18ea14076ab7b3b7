#include "fields/DataLine.h"

#include <cstddef>
#include <cstdint>

namespace kelvorn_fields_private {
namespace {

constexpr std::size_t kMinDigits = 4;
constexpr std::size_t kMaxDigits = 6;
constexpr char32_t kMaxCodePoint = 0x10FFFF;

int hexValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isFieldNameChar(char c) noexcept {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool isBlank(std::string_view line) noexcept {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool parseCodePoint(std::string_view digits, char32_t* out) noexcept {
  if (digits.size() < kMinDigits || digits.size() > kMaxDigits) return false;
  char32_t value = 0;
  for (const char c : digits) {
    const int v = hexValue(c);
    if (v < 0) return false;
    value = value << 4 | static_cast<char32_t>(v);
  }
  if (value > kMaxCodePoint || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *out = value;
  return true;
}

bool isFieldName(std::string_view name) noexcept {
  if (name.empty()) return false;
  for (const char c : name) {
    if (!isFieldNameChar(c)) return false;
  }
  return true;
}

// Length of the sequence a lead byte starts, and the smallest value it may
// carry (so that overlong forms fail); 0 for a byte that cannot lead.
std::size_t sequenceLength(unsigned char lead, std::uint32_t* bits, std::uint32_t* min) noexcept {
  if (lead < 0x80) { *bits = lead; *min = 0; return 1; }
  if (lead >= 0xC2 && lead <= 0xDF) { *bits = lead & 0x1FU; *min = 0x80; return 2; }
  if (lead >= 0xE0 && lead <= 0xEF) { *bits = lead & 0x0FU; *min = 0x800; return 3; }
  if (lead >= 0xF0 && lead <= 0xF4) { *bits = lead & 0x07U; *min = 0x10000; return 4; }
  return 0;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) noexcept {
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::uint32_t cp = 0;
    std::uint32_t min = 0;
    const std::size_t n = sequenceLength(static_cast<unsigned char>(bytes[i]), &cp, &min);
    if (n == 0 || n > bytes.size() - i) return false;
    for (std::size_t k = 1; k < n; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0U) != 0x80U) return false;
      cp = cp << 6 | (b & 0x3FU);
    }
    if (cp < min || cp > kMaxCodePoint || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n;
  }
  return true;
}

LineKind classifyLine(std::string_view line, DataLine* out) noexcept {
  if ((!line.empty() && line.front() == '#') || isBlank(line)) return LineKind::kSkipped;
  if (line.size() < 2 || line[0] != 'U' || line[1] != '+') return LineKind::kMalformed;
  const std::size_t tab1 = line.find('\t', 2);
  if (tab1 == std::string_view::npos) return LineKind::kMalformed;
  const std::size_t tab2 = line.find('\t', tab1 + 1);
  if (tab2 == std::string_view::npos) return LineKind::kMalformed;
  DataLine parsed;
  parsed.field = line.substr(tab1 + 1, tab2 - tab1 - 1);
  parsed.value = line.substr(tab2 + 1);
  if (!parseCodePoint(line.substr(2, tab1 - 2), &parsed.codePoint) ||
      !isFieldName(parsed.field) || parsed.value.empty() || !isValidUtf8(parsed.value)) {
    return LineKind::kMalformed;
  }
  *out = parsed;
  return LineKind::kData;
}

}  // namespace kelvorn_fields_private
