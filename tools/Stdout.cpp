#include "Stdout.h"

#include <iostream>

#include "ToolError.h"

namespace unihan_tool {

void writeStdout(const std::string& text) {
  std::cout << text << std::flush;
  if (!std::cout) throw ToolError("cannot write to standard output");
}

}  // namespace unihan_tool
