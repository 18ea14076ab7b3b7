#include "index/saved/SavedIndex.h"

#include <filesystem>
#include <memory>

#include "app/files/Crc32.h"
#include "app/files/StagedOutput.h"
#include "fields/MappedFile.h"
#include "index/saved/DataTag.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_saved_index {
namespace {

// Mapped rather than read: copying a few megabytes into fresh memory costs
// more than all the rest of opening a saved index.
using kelvorn_fields_private::MappedFile;

}  // namespace

std::string pathBeside(const std::string& fieldsPath, const std::string& unicodeVersion) {
  return (std::filesystem::path(fieldsPath).parent_path() /
          ("unihan-index-" + unicodeVersion + ".bin"))
      .string();
}

std::string dataTag(const std::string& coreImageTag, const kelvorn::UnihanFields& fields) {
  if (coreImageTag.empty()) return "";
  return dataTagOfParts(coreImageTag, fields.imageBytes());
}

std::string coreImageTag(const std::string& corePath) {
  try {
    return kelvorn_files::sizeAndCrc32(MappedFile(corePath).bytes());
  } catch (const kelvorn::FieldsError&) {
    return "";
  }
}

std::optional<kelvorn::UnihanIndex> openBeside(const kelvorn::UnihanMgr& unihan,
                                               const std::string& dataTag,
                                               const std::string& fieldsPath,
                                               const std::string& unicodeVersion) {
  try {
    if (dataTag.empty()) return std::nullopt;
    const std::string indexPath = pathBeside(fieldsPath, unicodeVersion);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(indexPath, ec)) return std::nullopt;
    auto saved = std::make_shared<const MappedFile>(indexPath);
    const std::string_view bytes = saved->bytes();
    return kelvorn::UnihanIndex::fromBytes(unihan, std::move(saved), bytes, dataTag);
  } catch (const kelvorn::Error&) {
    return std::nullopt;
  }
}

void save(const kelvorn::UnihanIndex& index, const std::string& path, const std::string& tag) {
  kelvorn_files::StagedOutput out(path);
  out.write(index.bytes(tag));
  out.commit();
}

}  // namespace kelvorn_saved_index
