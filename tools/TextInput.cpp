#include "TextInput.h"

#include <iostream>
#include <vector>

#include "ToolError.h"

namespace unihan_tool {
namespace {

std::string readStandardInput(const std::string& doing) {
  std::string text;
  std::vector<char> chunk(1 << 16);
  while (std::cin.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) ||
         std::cin.gcount() > 0) {
    text.append(chunk.data(), static_cast<std::size_t>(std::cin.gcount()));
    if (text.size() > kMaxTextInputBytes) {
      throw ToolError("standard input: more than " + std::to_string(kMaxTextInputBytes) +
                      " bytes; " + doing);
    }
  }
  if (std::cin.bad()) throw ToolError("standard input: cannot read");
  return text;
}

}  // namespace

std::optional<kelvorn_files::InputFile> openTextInput(const std::string& file) {
  if (file.empty() || file == "-") return std::nullopt;
  return kelvorn_files::InputFile::open(file, kelvorn_files::InputKind::kFile);
}

std::string readTextInput(const kelvorn_files::InputFile* file, const std::string& doing) {
  return file == nullptr ? readStandardInput(doing) : file->readSnapshot(kMaxTextInputBytes);
}

}  // namespace unihan_tool
