#include "FieldsImageFile.h"

#include "ToolError.h"
#include "app/files/BundledFiles.h"
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

kelvorn::UnihanFields openFieldsImage(const std::string& path) {
  if (path.empty()) return kelvorn::UnihanFields::open(bundledFieldsImagePath());
  return kelvorn::UnihanFields::open(path, kelvorn::FieldsCheck::kChecksum);
}

std::size_t requireFieldNamed(const kelvorn::UnihanFields& fields, const std::string& name) {
  try {
    return fields.requireField(name);
  } catch (const kelvorn::FieldsError& e) {
    throw UsageError(e.what());
  }
}

}  // namespace unihan_tool
