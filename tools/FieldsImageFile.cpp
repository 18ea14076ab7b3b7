#include "FieldsImageFile.h"

#include <string_view>

#include "ToolError.h"
#include "app/files/BundledFiles.h"
#include "app/files/InputFile.h"
#include "fields/FieldsFormat.h"
#include "kelvorn/Unihan.h"

namespace unihan_tool {
namespace {

constexpr char kFieldsImageName[] = "unihan-fields-" KELVORN_UNICODE_VERSION ".bin";

}  // namespace

std::string bundledFilePath(const std::string& name) {
  try {
    return kelvorn_files::bundledFilePath(name);
  } catch (const kelvorn::Error& e) {
    throw ToolError(e.what());
  }
}

std::string bundledFieldsImagePath() {
  try {
    return bundledFilePath(kFieldsImageName);
  } catch (const ToolError& e) {
    throw ToolError(std::string(e.what()) + "; use --fields-data PATH");
  }
}

void addFieldsDataOption(CLI::App* app, std::string* path) {
  app->add_option("--fields-data", *path,
                  "All-field image to answer from (default: the bundled one)");
}

void requireFieldsImage(const std::string& path) {
  const std::string_view magic(kelvorn_fields_private::format::kMagic,
                               kelvorn_fields_private::format::kMagicLength);
  std::string head;
  try {
    head = kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFile).head(magic.size());
  } catch (const kelvorn::Error&) {
    // Refused below, in the all-field image's words.
  }
  if (head != magic) (void)kelvorn::UnihanFields::open(path);
}

kelvorn::Unihan openFieldsBundle(const std::string& path) {
  if (path.empty()) {
    (void)bundledFieldsImagePath();  // a missing image is refused in the tool's words
    return kelvorn::Unihan::bundledFieldsOnly();
  }
  requireFieldsImage(path);
  return kelvorn::Unihan::open(bundledFilePath("unihan-" KELVORN_UNICODE_VERSION ".bin"), path);
}

std::size_t requireFieldNamed(const kelvorn::UnihanFields& fields, const std::string& name) {
  try {
    return fields.requireField(name);
  } catch (const kelvorn::FieldsError& e) {
    throw UsageError(e.what());
  }
}

}  // namespace unihan_tool
