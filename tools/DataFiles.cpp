#include "DataFiles.h"

#include <climits>
#include <filesystem>
#include <stdexcept>

#include "Census.h"
#include "kelvorn/UnihanImage.h"
#include "ToolError.h"

namespace fs = std::filesystem;

namespace unihan_tool {
namespace {

constexpr char kImageName[] = KELVORN_IMAGE_NAME;

fs::path executableDir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : exe.parent_path();
}

void loadImage(kelvorn::UnihanMgr& mgr, const InputFile& file) {
  std::string bytes = file.readAll();
  if (!loadImageBytes(mgr, bytes)) {
    throw ToolError(file.path() + ": damaged or unsupported binary image");
  }
}

}  // namespace

CPath::CPath(const std::string& path) : chars_(path.begin(), path.end()) {
  chars_.push_back('\0');
}

bool loadImageBytes(kelvorn::UnihanMgr& mgr, std::string& bytes) {
  // A shorter buffer that holds the magic "succeeds" without loading.
  if (bytes.size() < kelvorn::kImageHeaderLength || bytes.size() > UINT_MAX) return false;
  const auto length = static_cast<unsigned int>(bytes.size());
  try {
    // Above INT_MAX the length comes back as a negative int.
    return static_cast<unsigned int>(mgr.readUnihanBinaryBuf(bytes.data(), length)) == length;
  } catch (const std::length_error&) {
    return false;
  }
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
  if (mgr.readUnihan(CPath(path)) != 0) throw ToolError(shownAs + ": cannot open for reading");
  if (!holdsAnyCodePoint(mgr)) {
    throw ToolError(shownAs + ": not Unihan text (no code point with a kept field)");
  }
}

void loadData(kelvorn::UnihanMgr& mgr, const InputFile& file) {
  if (file.head(kelvorn::kImageMagicLength) == kelvorn::kImageMagic) {
    loadImage(mgr, file);
  } else {
    loadText(mgr, file.procPath(), file.path());
  }
}

void loadSelectedData(kelvorn::UnihanMgr& mgr, const std::string& dataOption) {
  const std::string path = dataOption.empty() ? defaultImagePath() : dataOption;
  loadData(mgr, InputFile::open(path, InputKind::kFile));
}

}  // namespace unihan_tool
