#include "index/saved/SavedIndex.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/files/Crc32.h"
#include "app/files/StagedOutput.h"
#include "fields/MappedFile.h"
#include "fields/NearestName.h"
#include "index/saved/DataTag.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFieldNames.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"

namespace kelvorn_saved_index {
namespace {

// Mapped rather than read: copying a few megabytes into fresh memory costs
// more than all the rest of opening a saved index.
using kelvorn_fields_private::MappedFile;

}  // namespace

kelvorn::MandarinReadings mandarinReadings(const kelvorn::UnihanFields& fields) {
  kelvorn::MandarinReadings readings;
  for (const std::string_view field : kelvorn::MandarinReadings::fieldNames()) {
    for (const char32_t cp : fields.codePointsWith(field)) {
      readings.add(cp, field, fields.value(cp, field).value_or(""));
    }
  }
  return readings;
}

kelvorn::NamedReadings namedReadings(const kelvorn::UnihanFields& fields, std::string_view field) {
  kelvorn::NamedReadings readings(field);
  for (const char32_t cp : fields.codePointsWith(field)) {
    readings.add(cp, fields.value(cp, field).value_or(""));
  }
  return readings;
}

namespace {

std::vector<std::string_view> readingFieldNames() {
  std::vector<std::string_view> names = kelvorn::NamedReadings::fieldNames();
  for (const kelvorn::Reading field : kelvorn::kReadings) names.push_back(kelvorn::fieldName(field));
  return names;
}

}  // namespace

bool isReadingFieldName(std::string_view name) {
  const std::vector<std::string_view> names = readingFieldNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string unknownReadingFieldMessage(std::string_view name) {
  const std::vector<std::string_view> names = readingFieldNames();
  const std::string_view nearest = kelvorn_fields_private::nearestName(names, name);
  std::string message = "unknown field '" + std::string(name) + "' for a reading lookup";
  if (!nearest.empty()) message += "; did you mean " + std::string(nearest) + "?";
  return message;
}

kelvorn::ReadingFrequencies readingFrequencies(const kelvorn::UnihanFields& fields) {
  std::vector<char32_t> common = fields.codePointsWith("kHanyuPinlu");
  for (const char32_t cp : fields.codePointsWith("kUnihanCore2020")) common.push_back(cp);
  std::sort(common.begin(), common.end());
  common.erase(std::unique(common.begin(), common.end()), common.end());
  return readingFrequenciesOf(fields, common);
}

kelvorn::ReadingFrequencies readingFrequenciesOf(const kelvorn::UnihanFields& fields,
                                                 const std::vector<char32_t>& characters) {
  kelvorn::ReadingFrequencies frequencies;
  const std::optional<std::size_t> pinlu = fields.fieldIndex("kHanyuPinlu");
  const std::optional<std::size_t> core = fields.fieldIndex("kUnihanCore2020");
  std::vector<char32_t> common;
  for (const char32_t cp : characters) {
    const std::optional<std::string_view> counts = pinlu ? fields.valueAt(cp, *pinlu) : std::nullopt;
    if (counts) frequencies.addHanyuPinlu(cp, *counts);
    if (counts || (core && fields.valueAt(cp, *core))) common.push_back(cp);
  }
  frequencies.setFallbackOrder(kelvorn::UnihanLexicon(fields).commonFirst(std::move(common)));
  return frequencies;
}

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
  kelvorn_files::writeFileAtomically(path, index.bytes(tag));
}

}  // namespace kelvorn_saved_index
