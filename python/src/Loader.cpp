#include "Loader.h"

#include <limits>
#include <string_view>

#include "app/files/InputFile.h"
#include "kelvorn/UnihanImage.h"

namespace kelvorn_python {
namespace {

kelvorn::Unihan loadChecked(const std::string& path, const std::string& fieldsPath,
                            bool bundled) {
  const kelvorn_files::InputFile file =
      kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFile);
  // The bundled data, which `path` names, opens as the C++ API opens it.
  if (bundled) return kelvorn::Unihan::bundled();
  if (!fieldsPath.empty()) return kelvorn::Unihan::open(path, fieldsPath);
  const std::string_view magic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
  if (file.head(magic.size()) == magic) return kelvorn::Unihan::open(path);
  // Text has no limit of its own, as the tool streams it; the snapshot
  // refuses a file that changes while it is read, as the tool's load does,
  // and every field is read from the same bytes, so a rewrite after the
  // load cannot make field() disagree with the rest.
  return kelvorn::Unihan::fromMemory(
      file.readSnapshot(std::numeric_limits<std::size_t>::max() / 2), path);
}

}  // namespace

kelvorn::Unihan loadFile(const std::string& path, const std::string& fieldsPath, bool bundled) {
  try {
    return loadChecked(path, fieldsPath, bundled);
  } catch (const kelvorn::Error& e) {
    // The message names the path; Python names it through the exception.
    std::string message = e.what();
    const std::string prefix = path + ": ";
    if (message.compare(0, prefix.size(), prefix) == 0) message.erase(0, prefix.size());
    throw LoadError{e.systemError(), message};
  }
}

}  // namespace kelvorn_python
