// The two shapes `unihan show` prints: a readable table, or one JSON object.
#ifndef KELVORN_TOOLS_CHARFORMAT_H
#define KELVORN_TOOLS_CHARFORMAT_H

#include <string>
#include <string_view>

#include "CharInfo.h"

namespace unihan_tool {

// Several lines, each ending in a line feed.
std::string formatTable(const CharInfo& info);

// One row of that table, "  label               value" and a line feed; a
// label as wide as the column (kAlternateTotalStrokes) still gets a space.
std::string formatRow(std::string label, std::string_view value);

// One line of JSON without the line feed.
std::string formatJson(const CharInfo& info);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CHARFORMAT_H
