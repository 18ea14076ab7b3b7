// Bounded equivalents of the scanf conversions that the Unihan value patterns
// use ("%d", "%Nd", "%x", literal characters). They read a [p, end) range,
// never past it, and need no terminating zero, so values can be parsed in
// place inside the line.
#ifndef KELVORN_TEXT_SCANPATTERN_H
#define KELVORN_TEXT_SCANPATTERN_H

#include <array>
#include <cstddef>
#include <cstdint>

namespace kelvorn_private {

// White space as the C locale's isspace() defines it.
inline bool isScanSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Every line begins with a code point, and a table read per digit costs
// less than telling its three ranges apart with branches.
constexpr std::array<std::uint8_t, 256> hexDigitValues() {
  std::array<std::uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    table[static_cast<std::size_t>(c)] =
        c >= '0' && c <= '9'   ? static_cast<std::uint8_t>(c - '0')
        : c >= 'a' && c <= 'f' ? static_cast<std::uint8_t>(c - 'a' + 10)
        : c >= 'A' && c <= 'F' ? static_cast<std::uint8_t>(c - 'A' + 10)
                               : 0xFF;
  }
  return table;
}
constexpr std::array<std::uint8_t, 256> kHexDigitValues = hexDigitValues();

struct Cursor {
  const char* p;
  const char* end;

  bool atEnd() const { return p >= end; }

  void skipSpace() {
    while (p < end && isScanSpace(*p)) ++p;
  }

  // A literal character of a pattern: must be the next character.
  bool literal(char c) {
    if (p < end && *p == c) {
      ++p;
      return true;
    }
    return false;
  }

  // "%d", or "%<width>d" when width > 0. The width counts the sign but not
  // the white space skipped before the number. Values that do not fit 32 bits
  // wrap around; callers keep only the low bits they store anyway.
  bool readInt(int width, std::int32_t* out) {
    skipSpace();
    const char* limit = width > 0 && end - p > width ? p + width : end;
    const char* q = p;
    bool negative = false;
    if (q < limit && (*q == '+' || *q == '-')) negative = *q++ == '-';
    std::uint32_t value = 0;
    const char* digits = q;
    while (q < limit && *q >= '0' && *q <= '9') {
      value = value * 10u + static_cast<std::uint32_t>(*q++ - '0');
    }
    if (q == digits) return false;
    p = q;
    *out = static_cast<std::int32_t>(negative ? 0u - value : value);
    return true;
  }

  // "%x" without the optional "0x" prefix: hexadecimal digits after any
  // white space, wrapping around past 32 bits.
  bool readHex(std::uint32_t* out) {
    skipSpace();
    std::uint32_t value = 0;
    const char* digits = p;
    for (; p < end; ++p) {
      const std::uint8_t digit = kHexDigitValues[static_cast<unsigned char>(*p)];
      if (digit > 15) break;
      value = value << 4 | digit;
    }
    if (p == digits) return false;
    *out = value;
    return true;
  }
};

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_SCANPATTERN_H
