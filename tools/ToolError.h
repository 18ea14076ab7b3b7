// The one kind of failure the tool reports: a message for the user, printed
// as "unihan: <message>" on one line of stderr.
#ifndef KELVORN_TOOLS_TOOLERROR_H
#define KELVORN_TOOLS_TOOLERROR_H

#include <stdexcept>
#include <string>

namespace unihan_tool {

class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_TOOLERROR_H
