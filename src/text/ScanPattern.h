// Bounded equivalents of the scanf conversions that the Unihan value patterns
// use ("%d", "%Nd", "%x", literal characters). They read a [p, end) range,
// never past it, and need no terminating zero, so values can be parsed in
// place inside the line.
#ifndef KELVORN_TEXT_SCANPATTERN_H
#define KELVORN_TEXT_SCANPATTERN_H

#include <cstdint>

namespace kelvorn_private {

// White space as the C locale's isspace() defines it.
inline bool isScanSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

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
      const char c = *p;
      std::uint32_t digit;
      if (c >= '0' && c <= '9') {
        digit = static_cast<std::uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<std::uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<std::uint32_t>(c - 'A' + 10);
      } else {
        break;
      }
      value = value << 4 | digit;
    }
    if (p == digits) return false;
    *out = value;
    return true;
  }
};

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_SCANPATTERN_H
