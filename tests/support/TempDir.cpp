#include "support/TempDir.h"

#include <stdlib.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace testsupport {

TempDir::TempDir(const std::string& prefix) {
  const std::string pattern =
      (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  }
  path_ = name.data();
}

TempDir::~TempDir() {
  std::error_code ignored;  // a destructor cannot report; a leftover is harmless
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const { return (path_ / name).string(); }

}  // namespace testsupport
