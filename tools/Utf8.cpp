#include "Utf8.h"

#include "ToolError.h"

namespace unihan_tool {
namespace {

constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

bool isSurrogate(std::uint32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// Upper-case hexadecimal, at least minDigits digits.
std::string hex(std::uint32_t value, std::size_t minDigits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xFU]);
    value >>= 4;
  } while (value != 0);
  if (out.size() < minDigits) out.insert(0, minDigits - out.size(), '0');
  return out;
}

std::string hexByte(unsigned char byte) { return "0x" + hex(byte, 2); }

// Length of the sequence a lead byte starts, and the bits it carries; 0 for a
// byte that cannot start one.
int sequenceLength(unsigned char lead, std::uint32_t* bits) {
  if (lead < 0x80) { *bits = lead; return 1; }
  if (lead >= 0xC2 && lead <= 0xDF) { *bits = lead & 0x1FU; return 2; }
  if (lead >= 0xE0 && lead <= 0xEF) { *bits = lead & 0x0FU; return 3; }
  if (lead >= 0xF0 && lead <= 0xF4) { *bits = lead & 0x07U; return 4; }
  return 0;
}

// The smallest value each length may carry, so that overlong forms fail.
constexpr std::uint32_t kMinForLength[5] = {0, 0, 0x80, 0x800, 0x10000};

[[noreturn]] void badUtf8(const std::string& text, std::size_t at) {
  throw ToolError("not valid UTF-8: byte " +
                  hexByte(static_cast<unsigned char>(text[at])) + " at offset " +
                  std::to_string(at) + " of an argument");
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::string encodeUtf8(std::uint32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

std::string codePointLabel(std::uint32_t cp) {
  return "U+" + hex(cp, 4);
}

std::vector<std::uint32_t> decodeUtf8(const std::string& text) {
  std::vector<std::uint32_t> out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::uint32_t cp = 0;
    const int length = sequenceLength(static_cast<unsigned char>(text[i]), &cp);
    if (length == 0) badUtf8(text, i);
    for (int k = 1; k < length; ++k) {
      const std::size_t at = i + static_cast<std::size_t>(k);
      if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
        badUtf8(text, at < text.size() ? at : i);
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text[at]) & 0x3FU);
    }
    if (cp < kMinForLength[length] || cp > kMaxCodePoint || isSurrogate(cp)) badUtf8(text, i);
    out.push_back(cp);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::vector<std::uint32_t> parseCharArgument(const std::string& arg) {
  if (arg.empty()) throw ToolError("empty character argument");
  if (arg.size() < 2 || (arg[0] != 'U' && arg[0] != 'u') || arg[1] != '+') {
    return decodeUtf8(arg);
  }
  const std::string digits = arg.substr(2);
  bool ok = !digits.empty() && digits.size() <= 6;
  for (const char c : digits) ok = ok && isHexDigit(c);
  const std::uint32_t cp = ok ? static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16)) : 0;
  if (!ok || cp > kMaxCodePoint || isSurrogate(cp)) {
    throw ToolError("bad code point '" + arg + "' (expected U+0000 to U+10FFFF, no surrogates)");
  }
  return {cp};
}

}  // namespace unihan_tool
