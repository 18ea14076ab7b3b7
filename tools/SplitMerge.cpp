#include "SplitMerge.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "ToolError.h"
#include "app/files/UnihanTextFiles.h"

namespace unihan_tool {
namespace {

struct DataLine {
  std::uint32_t codePoint;
  std::string_view text;
};

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code point of a data line, read the way the library reads it ("U+",
// optional white space, hexadecimal digits); false for any other line, which
// the library would pass over anyway.
bool lineCodePoint(std::string_view line, std::uint32_t* out) {
  if (line.size() < 2 || line[0] != 'U' || line[1] != '+') return false;
  std::size_t i = 2;
  while (i < line.size() && isCSpace(line[i])) ++i;
  const std::size_t digits = i;
  std::uint32_t value = 0;
  for (; i < line.size() && hexValue(line[i]) >= 0; ++i) {
    value = value << 4 | static_cast<std::uint32_t>(hexValue(line[i]));
  }
  *out = value;
  return i > digits;
}

void collectLines(std::string_view content, std::vector<DataLine>* lines) {
  while (!content.empty()) {
    const std::size_t lf = content.find('\n');
    const std::string_view line = content.substr(0, lf);
    std::uint32_t cp;
    if (lineCodePoint(line, &cp)) lines->push_back({cp, line});
    content = lf == std::string_view::npos ? std::string_view() : content.substr(lf + 1);
  }
}

std::string joinLines(const std::vector<DataLine>& lines) {
  std::size_t size = 0;
  for (const DataLine& line : lines) size += line.text.size() + 1;
  std::string out;
  out.reserve(size);
  for (const DataLine& line : lines) out.append(line.text).push_back('\n');
  return out;
}

// The same file twice, by two names or two directories, would load its lines
// twice: every reading would appear twice over.
void refuseRepeats(const std::vector<InputFile>& files) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (std::size_t k = 0; k < i; ++k) {
      if (files[i].isSameFile(files[k])) {
        throw ToolError(files[i].path() + ": is the input " + files[k].path() + " again");
      }
    }
  }
}

}  // namespace

std::vector<InputFile> expandInputs(const std::vector<std::string>& inputs) {
  std::vector<InputFile> files;
  for (const std::string& input : inputs) {
    InputFile opened = InputFile::open(input, kelvorn_files::InputKind::kFileOrDirectory);
    if (!opened.isDirectory()) {
      files.push_back(std::move(opened));
      continue;
    }
    for (const std::string& path : kelvorn_files::unihanTextFilesIn(input)) {
      files.push_back(InputFile::open(path, kelvorn_files::InputKind::kFile));
    }
  }
  refuseRepeats(files);
  return files;
}

std::string mergeByCodePoint(const std::vector<InputFile>& files) {
  std::vector<std::string> contents;
  contents.reserve(files.size());  // the lines point into these strings
  std::vector<DataLine> lines;
  for (const InputFile& file : files) {
    contents.push_back(file.readSnapshot(SIZE_MAX));
    collectLines(contents.back(), &lines);
  }
  if (lines.empty()) throw ToolError("not Unihan text: no \"U+\" data line in the input files");
  std::stable_sort(lines.begin(), lines.end(), [](const DataLine& a, const DataLine& b) {
    return a.codePoint < b.codePoint;
  });
  return joinLines(lines);
}

}  // namespace unihan_tool
