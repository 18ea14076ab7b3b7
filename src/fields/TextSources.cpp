#include "fields/TextSources.h"

#include <algorithm>
#include <filesystem>

#include "app/files/PathCheck.h"
#include "fields/MappedFile.h"
#include "kelvorn/UnihanFields.h"

namespace fs = std::filesystem;

namespace kelvorn_fields_private {
namespace {

bool isUnihanFileName(const std::string& name) {
  constexpr std::string_view kPrefix = "Unihan_";
  constexpr std::string_view kSuffix = ".txt";
  return name.size() > kPrefix.size() + kSuffix.size() &&
         name.compare(0, kPrefix.size(), kPrefix) == 0 &&
         name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
}

// Every Unihan_*.txt entry is taken, and one that is not a regular file is
// refused when read rather than passed over, so that no part of the data
// goes missing unnoticed.
std::vector<std::string> unihanFilesIn(const std::string& dir) {
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (isUnihanFileName(it->path().filename().string())) found.push_back(it->path().string());
  }
  if (ec) throw kelvorn::FieldsError(dir + ": cannot list the directory (" + ec.message() + ")");
  if (found.empty()) throw kelvorn::FieldsError(dir + ": no Unihan_*.txt files in this directory");
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<TextSource> readTextSources(const std::vector<std::string>& paths) {
  std::vector<TextSource> sources;
  for (const std::string& path : paths) {
    if (auto problem = kelvorn_files::inputPathProblem(path)) throw kelvorn::FieldsError(*problem);
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      sources.push_back({path, readWholeFile(path)});
      continue;
    }
    for (std::string& file : unihanFilesIn(path)) {
      std::string text = readWholeFile(file);
      sources.push_back({std::move(file), std::move(text)});
    }
  }
  return sources;
}

}  // namespace kelvorn_fields_private
