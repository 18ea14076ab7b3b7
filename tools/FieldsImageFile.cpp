#include "FieldsImageFile.h"

#include <filesystem>

#include "ToolError.h"

namespace fs = std::filesystem;

namespace unihan_tool {
namespace {

constexpr char kFieldsImageName[] = "unihan-fields-" KELVORN_UNICODE_VERSION ".bin";

// Installed: <prefix>/bin/unihan and <prefix>/share/kelvorn-unihan/. Build
// tree: <build>/tools/unihan and <build>/data/.
std::string bundledFieldsImagePath() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  const fs::path dir = ec ? fs::path() : exe.parent_path();
  const fs::path candidates[] = {dir / ".." / "share" / "kelvorn-unihan" / kFieldsImageName,
                                 dir / ".." / "data" / kFieldsImageName};
  for (const fs::path& candidate : candidates) {
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  throw ToolError(std::string("no bundled ") + kFieldsImageName +
                  " next to the executable; use --fields-data PATH");
}

}  // namespace

void addFieldsDataOption(CLI::App* app, std::string* path) {
  app->add_option("--fields-data", *path,
                  "All-field image to answer from (default: the bundled one)");
}

kelvorn::UnihanFields openFieldsImage(const std::string& path) {
  if (path.empty()) return kelvorn::UnihanFields::open(bundledFieldsImagePath());
  return kelvorn::UnihanFields::open(path, kelvorn::FieldsCheck::kChecksum);
}

}  // namespace unihan_tool
