// The two shapes `unihan show` prints: a readable table, or one JSON object.
#ifndef KELVORN_TOOLS_CHARFORMAT_H
#define KELVORN_TOOLS_CHARFORMAT_H

#include <string>

#include "CharInfo.h"

namespace unihan_tool {

// Several lines, each ending in a line feed.
std::string formatTable(const CharInfo& info);

// One line of JSON without the line feed.
std::string formatJson(const CharInfo& info);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CHARFORMAT_H
