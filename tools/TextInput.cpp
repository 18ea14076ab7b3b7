#include "TextInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/files/FileDescriptor.h"
#include "kelvorn/Unihan.h"

namespace unihan_tool {
std::optional<kelvorn_files::InputFile> openTextInput(const std::string& file) {
  if (file.empty() || file == "-") return std::nullopt;
  return kelvorn_files::InputFile::open(file, kelvorn_files::InputKind::kFile);
}

std::size_t currentSize(const kelvorn_files::InputFile& file) {
  struct stat st {};
  if (::fstat(file.descriptor(), &st) != 0) {
    const int err = errno;
    throw kelvorn::Error(file.path() + ": cannot read (" + kelvorn_files::errorText(err) + ")", err);
  }
  return static_cast<std::size_t>(std::max<off_t>(st.st_size, 0));
}

std::string readTextInput(const kelvorn_files::InputFile* file, const std::string& doing) {
  if (file != nullptr) return file->readSnapshot(kMaxTextInputBytes);
  return kelvorn_files::readStream(STDIN_FILENO, kMaxTextInputBytes, "standard input",
                                   "standard input: more than " +
                                       std::to_string(kMaxTextInputBytes) + " bytes; " + doing);
}

}  // namespace unihan_tool
