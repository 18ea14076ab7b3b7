// Code points as the user types them: characters in UTF-8, or U+XXXX.
#ifndef KELVORN_TOOLS_CHARARGUMENTS_H
#define KELVORN_TOOLS_CHARARGUMENTS_H

#include <string>

#include "kelvorn/Utf8.h"

namespace unihan_tool {

// "U+6F22" (the hexadecimal form of a code point) for any value.
std::string codePointLabel(char32_t codePoint);

// Throws ToolError naming the offending byte when arg is not strict UTF-8.
void requireUtf8(const std::string& arg);

// One command-line argument: "U+XXXX"/"u+xxxx" gives one code point, anything
// else is read as UTF-8 characters. Throws ToolError on a bad argument.
std::u32string parseCharArgument(const std::string& arg);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CHARARGUMENTS_H
