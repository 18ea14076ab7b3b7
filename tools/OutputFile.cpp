#include "OutputFile.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <filesystem>
#include <utility>
#include <vector>

#include "ToolError.h"

namespace fs = std::filesystem;

namespace unihan_tool {

StagedOutput::StagedOutput(std::string path)
    : path_(std::move(path)), staging_(path_ + ".tmp") {}

StagedOutput::~StagedOutput() {
  if (committed_) return;
  std::error_code ec;
  fs::remove(staging_, ec);
}

void StagedOutput::commit() {
  std::error_code ec;
  fs::rename(staging_, path_, ec);
  if (ec) throw ToolError(path_ + ": cannot write (" + ec.message() + ")");
  committed_ = true;
}

ScratchFile::ScratchFile() {
  std::error_code ec;
  fs::path dir = fs::temp_directory_path(ec);
  if (ec) dir = "/tmp";
  std::string pattern = (dir / "unihan-merge-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw ToolError("cannot create a temporary file in " + dir.string());
  ::close(fd);
  path_ = name.data();
}

ScratchFile::~ScratchFile() {
  std::error_code ec;
  fs::remove(path_, ec);
}

void writeStdout(const std::string& text) {
  std::cout << text << std::flush;
  if (!std::cout) throw ToolError("cannot write to standard output");
}

unsigned long long fileSize(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  return ec ? 0 : static_cast<unsigned long long>(size);
}

}  // namespace unihan_tool
