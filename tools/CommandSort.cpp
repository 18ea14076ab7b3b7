// unihan sort: lines of UTF-8 text in radical-stroke or total-strokes order,
// character by character, stable.
#include <algorithm>
#include <iostream>
#include <iterator>
#include <memory>

#include "Commands.h"
#include "DataFiles.h"
#include "IndexOptions.h"
#include "app/files/InputFile.h"
#include "Stdout.h"
#include "ToolError.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct SortOptions {
  std::string by = "radical-stroke";
  std::string file;  // empty for standard input
};

struct Line {
  std::string text;
  std::u32string chars;
};

std::string readInput(const std::string& file) {
  if (file.empty() || file == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  return kelvorn_files::InputFile::open(file, kelvorn_files::InputKind::kFile).readAll();
}

// Every line is decoded before anything is sorted or printed, so that a bad
// one leaves no output behind.
std::vector<Line> splitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    Line line{text.substr(start, end - start), {}};
    try {
      line.chars = kelvorn::utf8::decode(line.text);
    } catch (const std::invalid_argument&) {
      throw ToolError("line " + std::to_string(lines.size() + 1) + " is not valid UTF-8");
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

kelvorn::SortOrder parseOrder(const std::string& by) {
  if (by == "radical-stroke") return kelvorn::SortOrder::kRadicalStroke;
  if (by == "strokes") return kelvorn::SortOrder::kTotalStrokes;
  throw ToolError("unknown order '" + by + "' (expected radical-stroke or strokes)");
}

void runSort(const SortOptions& opts, const GlobalOptions& global) {
  const kelvorn::SortOrder order = parseOrder(opts.by);
  std::vector<Line> lines = splitLines(readInput(opts.file));
  const auto loaded = loadIndex(global);
  const kelvorn::UnihanIndex& index = *loaded->index;
  std::stable_sort(lines.begin(), lines.end(), [&](const Line& a, const Line& b) {
    return index.less(a.chars, b.chars, order);
  });
  std::string out;
  for (const Line& line : lines) out += line.text + "\n";
  writeStdout(out);
}

}  // namespace

Command addSortCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<SortOptions>();
  CLI::App* app = parent.add_subcommand(
      "sort", "Sort UTF-8 lines by radical-stroke or total-strokes order, stably");
  app->add_option("--by", opts->by, "radical-stroke (default) or strokes");
  app->add_option("FILE", opts->file, "Text file to sort (default: standard input)");
  return {app, [opts, &global] { runSort(*opts, global); }};
}

}  // namespace unihan_tool
