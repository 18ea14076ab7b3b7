#include "Stdout.h"

#include <iostream>

#include "ToolError.h"

namespace unihan_tool {

void writeStdout(const std::string& text) {
  std::cout << text << std::flush;
  if (!std::cout) throw ToolError("cannot write to standard output");
}

void writeAnswers(const std::string& text) {
  if (text.empty()) throw NothingFound();
  writeStdout(text);
}

}  // namespace unihan_tool
