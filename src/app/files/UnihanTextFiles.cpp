#include "app/files/UnihanTextFiles.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "kelvorn/Error.h"

namespace kelvorn_files {
namespace {

bool isUnihanFileName(const std::string& name) {
  constexpr std::string_view kPrefix = "Unihan_";
  constexpr std::string_view kSuffix = ".txt";
  return name.size() > kPrefix.size() + kSuffix.size() &&
         name.compare(0, kPrefix.size(), kPrefix) == 0 &&
         name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

}  // namespace

std::vector<std::string> unihanTextFilesIn(const std::string& dir) {
  namespace fs = std::filesystem;
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (isUnihanFileName(it->path().filename().string())) found.push_back(it->path().string());
  }
  if (ec) throw kelvorn::Error(dir + ": cannot list the directory (" + ec.message() + ")");
  if (found.empty()) throw kelvorn::Error(dir + ": no Unihan_*.txt files in this directory");
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace kelvorn_files
