// Standard output, checked: a full disk or a closed pipe is an error.
#ifndef KELVORN_TOOLS_STDOUT_H
#define KELVORN_TOOLS_STDOUT_H

#include <string>

namespace unihan_tool {

// Prints text on stdout; throws ToolError when it cannot be written.
void writeStdout(const std::string& text);

// Prints the answers of a lookup; none at all throws NothingFound, so that
// the tool exits 1 and prints nothing, as grep does.
void writeAnswers(const std::string& text);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_STDOUT_H
