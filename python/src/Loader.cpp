#include "Loader.h"

#include <limits>
#include <string_view>

#include "app/files/InputFile.h"
#include "kelvorn/UnihanImage.h"

namespace kelvorn_python {
namespace {

Loaded loadChecked(const std::string& path) {
  const kelvorn_files::InputFile file =
      kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFile);
  const std::string_view magic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
  if (file.head(magic.size()) == magic) return {kelvorn::Unihan::open(path), nullptr};
  // Text has no limit of its own, as the tool streams it; the snapshot
  // refuses a file that changes while it is read, as the tool's load does.
  auto text = std::make_shared<const std::string>(
      file.readSnapshot(std::numeric_limits<std::size_t>::max() / 2));
  return {kelvorn::Unihan::fromMemory(*text, path), text};
}

}  // namespace

Loaded loadFile(const std::string& path) {
  try {
    return loadChecked(path);
  } catch (const kelvorn::Error& e) {
    // The message names the path; Python names it through the exception.
    std::string message = e.what();
    const std::string prefix = path + ": ";
    if (message.compare(0, prefix.size(), prefix) == 0) message.erase(0, prefix.size());
    throw LoadError{e.systemError(), message};
  }
}

}  // namespace kelvorn_python
