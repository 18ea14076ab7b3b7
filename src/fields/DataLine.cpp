#include "fields/DataLine.h"

#include <cstddef>
#include <cstdint>

#include "kelvorn/Utf8.h"

namespace kelvorn_fields_private {
namespace {

constexpr std::size_t kMinDigits = 4;
constexpr std::size_t kMaxDigits = 6;

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
  if (!kelvorn::utf8::isScalarValue(value)) return false;
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

}  // namespace

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
      !isFieldName(parsed.field) || parsed.value.empty() || !kelvorn::utf8::isValid(parsed.value)) {
    return LineKind::kMalformed;
  }
  *out = parsed;
  return LineKind::kData;
}

}  // namespace kelvorn_fields_private
