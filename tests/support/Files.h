// Whole files in and out, and the mutable C strings that the library's
// interface takes for paths.
#ifndef KELVORN_TESTS_SUPPORT_FILES_H
#define KELVORN_TESTS_SUPPORT_FILES_H

#include <string>
#include <vector>

namespace testsupport {

// The interface takes char*; a temporary CPath lives until the end of the
// statement that made it, long enough for one call.
class CPath {
 public:
  explicit CPath(const std::string& path);
  operator char*() { return chars_.data(); }
  const char* c_str() const { return chars_.data(); }

 private:
  std::vector<char> chars_;
};

// The file's bytes, or "" when it cannot be read.
std::string readFile(const std::string& path);
// Creates or replaces the file; returns the path.
std::string writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_FILES_H
