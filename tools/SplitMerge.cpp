#include "SplitMerge.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "DataFiles.h"
#include "ToolError.h"

namespace fs = std::filesystem;

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

std::vector<std::string> unihanFilesIn(const fs::path& dir) {
  std::vector<std::string> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    const bool matches = name.size() > 11 && name.compare(0, 7, "Unihan_") == 0 &&
                         name.compare(name.size() - 4, 4, ".txt") == 0;
    if (matches && entry.is_regular_file()) found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  if (found.empty()) throw ToolError(dir.string() + ": no Unihan_*.txt files in this directory");
  return found;
}

std::string readWhole(const std::string& path) {
  requireReadableFile(path);
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

void writeLines(const std::vector<DataLine>& lines, const std::string& outPath) {
  std::ofstream out(outPath, std::ios::binary);
  for (const DataLine& line : lines) {
    out.write(line.text.data(), static_cast<std::streamsize>(line.text.size()));
    out.put('\n');
  }
  out.close();
  if (!out) throw ToolError(outPath + ": cannot write the merged stream");
}

}  // namespace

std::vector<std::string> expandInputs(const std::vector<std::string>& inputs) {
  std::vector<std::string> files;
  for (const std::string& input : inputs) {
    std::error_code ec;
    if (fs::is_directory(input, ec)) {
      const std::vector<std::string> inDir = unihanFilesIn(input);
      files.insert(files.end(), inDir.begin(), inDir.end());
    } else {
      requireReadableFile(input);
      files.push_back(input);
    }
  }
  return files;
}

std::size_t mergeByCodePoint(const std::vector<std::string>& files, const std::string& outPath) {
  std::vector<std::string> contents;
  contents.reserve(files.size());  // the lines point into these strings
  std::vector<DataLine> lines;
  for (const std::string& file : files) {
    contents.push_back(readWhole(file));
    collectLines(contents.back(), &lines);
  }
  if (lines.empty()) throw ToolError("not Unihan text: no \"U+\" data line in the input files");
  std::stable_sort(lines.begin(), lines.end(), [](const DataLine& a, const DataLine& b) {
    return a.codePoint < b.codePoint;
  });
  writeLines(lines, outPath);
  return lines.size();
}

}  // namespace unihan_tool
