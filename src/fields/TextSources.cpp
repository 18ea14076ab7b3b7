#include "fields/TextSources.h"

#include <filesystem>

#include "app/files/PathCheck.h"
#include "app/files/UnihanTextFiles.h"
#include "fields/FileErrors.h"
#include "fields/MappedFile.h"
#include "kelvorn/UnihanFields.h"

namespace fs = std::filesystem;

namespace kelvorn_fields_private {

std::vector<TextSource> readTextSources(const std::vector<std::string>& paths) {
  std::vector<TextSource> sources;
  for (const std::string& path : paths) {
    if (auto problem = kelvorn_files::inputPathProblem(path)) throw kelvorn::FieldsError(*problem);
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      sources.push_back({path, readWholeFile(path)});
      continue;
    }
    for (std::string& file : asFieldsError([&] { return kelvorn_files::unihanTextFilesIn(path); })) {
      std::string text = readWholeFile(file);
      sources.push_back({std::move(file), std::move(text)});
    }
  }
  return sources;
}

}  // namespace kelvorn_fields_private
