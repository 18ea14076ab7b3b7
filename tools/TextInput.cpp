#include "TextInput.h"

#include <unistd.h>

#include "app/files/FileDescriptor.h"

namespace unihan_tool {
std::optional<kelvorn_files::InputFile> openTextInput(const std::string& file) {
  if (file.empty() || file == "-") return std::nullopt;
  return kelvorn_files::InputFile::open(file, kelvorn_files::InputKind::kFile);
}

std::string readTextInput(const kelvorn_files::InputFile* file, const std::string& doing) {
  if (file != nullptr) return file->readSnapshot(kMaxTextInputBytes);
  return kelvorn_files::readStream(STDIN_FILENO, kMaxTextInputBytes, "standard input",
                                   "standard input: more than " +
                                       std::to_string(kMaxTextInputBytes) + " bytes; " + doing);
}

}  // namespace unihan_tool
