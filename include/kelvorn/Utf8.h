// kelvorn/Utf8.h - strict UTF-8, as every layer of the library reads and
// writes it. Header only, so that the comparators that decode in their inner
// loop pay no call across a library boundary.
//
// Strict means: shortest form only, no surrogates, nothing above U+10FFFF,
// no sequence cut short. decode() throws kelvorn::Error, which the
// all-field library defines: every module but the core's links it.
#ifndef KELVORN_UTF8_H
#define KELVORN_UTF8_H

#include <cstddef>
#include <string>
#include <string_view>

#include "kelvorn/Error.h"

namespace kelvorn::utf8 {

inline constexpr char32_t kMaxCodePoint = 0x10FFFF;

constexpr bool isScalarValue(char32_t cp) {
  return cp <= kMaxCodePoint && !(cp >= 0xD800 && cp <= 0xDFFF);
}

namespace detail {

// Length of the sequence a lead byte starts and the payload bits it carries;
// 0 for a byte that cannot start one (continuations, C0, C1, F5..FF).
constexpr int sequenceLength(unsigned char lead, char32_t* bits) noexcept {
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
inline constexpr char32_t kMinForLength[5] = {0, 0, 0x80, 0x800, 0x10000};

}  // namespace detail

// Decodes the character that starts at text[*pos] into *codePoint and moves
// *pos past it. Returns false, leaving both untouched, when the bytes there
// are not strict UTF-8; *badAt (when given) then gets the offset of the
// offending byte: the first continuation byte that is not one, else the lead.
inline bool next(std::string_view text, std::size_t* pos, char32_t* codePoint,
                 std::size_t* badAt = nullptr) noexcept {
  const std::size_t at = *pos;
  if (at >= text.size()) return false;
  char32_t cp = 0;
  const int length = detail::sequenceLength(static_cast<unsigned char>(text[at]), &cp);
  bool ok = length != 0;
  std::size_t bad = at;
  for (int k = 1; ok && k < length; ++k) {
    const std::size_t i = at + static_cast<std::size_t>(k);
    if (i >= text.size()) {
      ok = false;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0U) != 0x80U) {
      ok = false;
      bad = i;
    } else {
      cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3FU);
    }
  }
  ok = ok && cp >= detail::kMinForLength[length] && isScalarValue(cp);
  if (!ok) {
    if (badAt != nullptr) *badAt = bad;
    return false;
  }
  *codePoint = cp;
  *pos = at + static_cast<std::size_t>(length);
  return true;
}

inline bool isValid(std::string_view text) noexcept {
  std::size_t pos = 0;
  char32_t cp = 0;
  while (pos < text.size()) {
    if (!next(text, &pos, &cp)) return false;
  }
  return true;
}

// Every character of text. Throws kelvorn::Error naming the offending
// byte and its offset: "not valid UTF-8: byte 0xE6 at offset 3".
inline std::u32string decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    std::size_t bad = 0;
    if (!next(text, &pos, &cp, &bad)) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      const auto byte = static_cast<unsigned char>(text[bad]);
      throw Error(std::string("not valid UTF-8: byte 0x") + kHex[byte >> 4] +
                                  kHex[byte & 0xFU] + " at offset " + std::to_string(bad));
    }
    out.push_back(cp);
  }
  return out;
}

// Appends the UTF-8 form of a scalar value; anything else is written as
// U+FFFD, so that the output is always valid.
inline void append(char32_t cp, std::string* out) {
  if (!isScalarValue(cp)) cp = 0xFFFD;
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

inline std::string encode(char32_t cp) {
  std::string out;
  append(cp, &out);
  return out;
}

inline std::string encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (char32_t cp : text) append(cp, &out);
  return out;
}

}  // namespace kelvorn::utf8

#endif  // KELVORN_UTF8_H
