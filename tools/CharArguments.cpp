#include "CharArguments.h"

#include <stdexcept>

#include "ToolError.h"

namespace unihan_tool {
namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::string codePointLabel(char32_t cp) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char reversed[8];
  std::size_t count = 0;
  do {
    reversed[count++] = kDigits[cp & 0xFU];
    cp >>= 4;
  } while (cp != 0);
  while (count < 4) reversed[count++] = '0';
  std::string label = "U+";
  while (count > 0) label += reversed[--count];
  return label;
}

namespace {

std::u32string decodeArgument(const std::string& arg) {
  try {
    return kelvorn::utf8::decode(arg);
  } catch (const kelvorn::Error& e) {
    throw ToolError(std::string(e.what()) + " of an argument");
  }
}

}  // namespace

void requireUtf8(const std::string& arg) { (void)decodeArgument(arg); }

std::u32string parseCharArgument(const std::string& arg) {
  if (arg.empty()) throw ToolError("empty character argument");
  if (arg.size() < 2 || (arg[0] != 'U' && arg[0] != 'u') || arg[1] != '+') {
    return decodeArgument(arg);
  }
  const std::string digits = arg.substr(2);
  bool ok = !digits.empty() && digits.size() <= 6;
  for (const char c : digits) ok = ok && isHexDigit(c);
  const auto cp = ok ? static_cast<char32_t>(std::stoul(digits, nullptr, 16)) : 0;
  if (!ok || !kelvorn::utf8::isScalarValue(cp)) {
    throw ToolError("bad code point '" + arg + "' (expected U+0000 to U+10FFFF, no surrogates)");
  }
  return std::u32string(1, cp);
}

}  // namespace unihan_tool
