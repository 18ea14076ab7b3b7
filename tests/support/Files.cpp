#include "support/Files.h"

#include <fstream>
#include <iterator>

namespace testsupport {

CPath::CPath(const std::string& path) : chars_(path.begin(), path.end()) {
  chars_.push_back('\0');
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  return path;
}

bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

}  // namespace testsupport
