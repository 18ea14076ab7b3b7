#include "DataFiles.h"

#include <filesystem>
#include <fstream>

#include "Census.h"
#include "ToolError.h"

namespace fs = std::filesystem;

namespace unihan_tool {
namespace {

constexpr char kMagic[] = "vantu unihan binary";
constexpr std::size_t kMagicLength = sizeof kMagic - 1;
constexpr char kImageName[] = "unihan-15.0.bin";

fs::path executableDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

void loadImage(kelvorn::UnihanMgr& mgr, const std::string& path) {
  if (mgr.readUnihanBinary(CPath(path)) != 0) {
    throw ToolError(path + ": damaged or unsupported binary image");
  }
}

}  // namespace

CPath::CPath(const std::string& path) : chars_(path.begin(), path.end()) {
  chars_.push_back('\0');
}

bool isImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(kMagicLength, '\0');
  in.read(head.data(), static_cast<std::streamsize>(kMagicLength));
  return in.gcount() == static_cast<std::streamsize>(kMagicLength) && head == kMagic;
}

void requireReadableFile(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (!fs::exists(status)) throw ToolError(path + ": no such file");
  if (fs::is_directory(status)) throw ToolError(path + ": is a directory, not a file");
  if (!std::ifstream(path).good()) throw ToolError(path + ": cannot open for reading");
}

std::string defaultImagePath() {
  const fs::path dir = executableDir();
  // Installed: <prefix>/bin/unihan and <prefix>/share/kelvorn-unihan/. Build
  // tree: <build>/tools/unihan and <build>/data/.
  const fs::path candidates[] = {dir / ".." / "share" / "kelvorn-unihan" / kImageName,
                                 dir / ".." / "data" / kImageName};
  for (const fs::path& candidate : candidates) {
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  throw ToolError(std::string("no bundled ") + kImageName + " next to the executable; use --data PATH");
}

void loadText(kelvorn::UnihanMgr& mgr, const std::string& path, const std::string& shownAs) {
  const std::string name = shownAs.empty() ? path : shownAs;
  if (mgr.readUnihan(CPath(path)) != 0) throw ToolError(name + ": cannot open for reading");
  if (takeCensus(mgr).codePoints == 0) {
    throw ToolError(name + ": not Unihan text (no code point with a kept field)");
  }
}

void loadData(kelvorn::UnihanMgr& mgr, const std::string& path) {
  requireReadableFile(path);
  if (isImage(path)) {
    loadImage(mgr, path);
  } else {
    loadText(mgr, path);
  }
}

void loadSelectedData(kelvorn::UnihanMgr& mgr, const std::string& dataOption) {
  loadData(mgr, dataOption.empty() ? defaultImagePath() : dataOption);
}

}  // namespace unihan_tool
