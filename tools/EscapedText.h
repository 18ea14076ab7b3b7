// Text as one line of output: a value from a crafted image, or a name from
// the command line, can hold a line feed, which would split a record or an
// error message in two.
#ifndef KELVORN_TOOLS_ESCAPEDTEXT_H
#define KELVORN_TOOLS_ESCAPEDTEXT_H

#include <string>
#include <string_view>

namespace unihan_tool {

// Appends text with its control characters and backslashes written as C
// escapes (\n, \t, \\, \x01). No value of the Unicode data holds any of
// them, so real values come out as they are.
void appendEscaped(std::string_view text, std::string* out);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_ESCAPEDTEXT_H
