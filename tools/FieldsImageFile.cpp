#include "FieldsImageFile.h"

#include <filesystem>

#include "ToolError.h"

namespace fs = std::filesystem;

namespace unihan_tool {
namespace {

constexpr char kFieldsImageName[] = "unihan-fields-" KELVORN_UNICODE_VERSION ".bin";

}  // namespace

std::string bundledFilePath(const std::string& name) {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  const fs::path dir = ec ? fs::path() : exe.parent_path();
  const fs::path candidates[] = {dir / ".." / "share" / "kelvorn-unihan" / name,
                                 dir / ".." / "data" / name};
  for (const fs::path& candidate : candidates) {
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  throw ToolError("no bundled " + name + " next to the executable");
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
