// The failures the tool reports: a message for the user, printed as
// "unihan: <message>" on one line of stderr.
#ifndef KELVORN_TOOLS_TOOLERROR_H
#define KELVORN_TOOLS_TOOLERROR_H

#include <stdexcept>
#include <string>

namespace unihan_tool {

class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

// A command line that names what does not exist (an unknown field): exit
// status 2, as for a command line that does not parse.
class UsageError : public ToolError {
 public:
  explicit UsageError(const std::string& message) : ToolError(message) {}
};

// A question the data has no answer to: exit status 1 with nothing printed
// on either stream, as grep does when it finds nothing.
class NothingFound : public std::exception {
 public:
  const char* what() const noexcept override { return "nothing found"; }
};

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_TOOLERROR_H
