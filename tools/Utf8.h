// Code points as the user types them: characters in UTF-8, or U+XXXX.
#ifndef KELVORN_TOOLS_UTF8_H
#define KELVORN_TOOLS_UTF8_H

#include <cstdint>
#include <string>
#include <vector>

namespace unihan_tool {

// The UTF-8 form of a Unicode scalar value.
std::string encodeUtf8(std::uint32_t codePoint);

// "U+6F22" (the hexadecimal form of a code point) for any value.
std::string codePointLabel(std::uint32_t codePoint);

// Every character of a strict UTF-8 string; throws ToolError naming the
// offending byte otherwise.
std::vector<std::uint32_t> decodeUtf8(const std::string& text);

// One command-line argument: "U+XXXX"/"u+xxxx" gives one code point, anything
// else is read as UTF-8 characters. Throws ToolError on a bad argument.
std::vector<std::uint32_t> parseCharArgument(const std::string& arg);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_UTF8_H
