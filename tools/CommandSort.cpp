// unihan sort: lines of UTF-8 text in radical-stroke or total-strokes order,
// character by character, stable.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "TextInput.h"
#include "ToolError.h"
#include "kelvorn/Utf8.h"

namespace unihan_tool {
namespace {

struct SortOptions {
  std::string by = "radical-stroke";
  std::string file;  // empty for standard input
  std::string fieldsData;
};

// The input is held once; a line is where it lies in the text and where its
// sort key lies in one buffer of keys, so that no line costs an allocation
// and comparing two lines is one memcmp. Each character adds the same
// number of key bytes, so a line's key starts at its first character's
// count times that width. The input is at most kMaxTextInputBytes, so 32-bit
// offsets reach all of it.
struct Line {
  std::uint32_t textStart, textLength;
  std::uint32_t charStart, charLength;
};

struct Lines {
  std::string text;
  std::string keys;
  std::size_t keyWidth = 0;  // key bytes a character
  std::vector<Line> lines;

  std::string_view keyOf(const Line& line) const {
    return std::string_view(keys).substr(line.charStart * keyWidth, line.charLength * keyWidth);
  }
};

static_assert(kMaxTextInputBytes < UINT32_MAX, "a line's offsets are 32 bits");

// Every line is decoded and given its key before anything is sorted or
// printed, so that a bad one leaves no output behind.
Lines splitLines(std::string text, const kelvorn::UnihanIndex& index, kelvorn::SortOrder order) {
  Lines out;
  out.text = std::move(text);
  const std::string_view all = out.text;
  out.keyWidth = index.sortKey(U"\u4E00", order).size();
  // Counted first, so that neither list grows by doubling past its size.
  out.lines.reserve(static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1);
  out.keys.reserve(out.keyWidth * static_cast<std::size_t>(std::count_if(
                                      all.begin(), all.end(), [](char c) { return (c & 0xC0) != 0x80; })));
  std::u32string chars;
  std::size_t charCount = 0;
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = std::min(all.find('\n', start), all.size());
    const std::string_view line = all.substr(start, end - start);
    chars.clear();
    std::size_t pos = 0;
    char32_t cp = 0;
    while (kelvorn::utf8::next(line, &pos, &cp)) chars.push_back(cp);
    if (pos != line.size()) {
      throw ToolError("line " + std::to_string(out.lines.size() + 1) + " is not valid UTF-8");
    }
    index.appendSortKey(chars, order, &out.keys);
    out.lines.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(line.size()),
                         static_cast<std::uint32_t>(charCount),
                         static_cast<std::uint32_t>(chars.size())});
    charCount += chars.size();
    start = end + 1;
  }
  return out;
}

kelvorn::SortOrder parseOrder(const std::string& by) {
  if (by == "radical-stroke") return kelvorn::SortOrder::kRadicalStroke;
  if (by == "strokes") return kelvorn::SortOrder::kTotalStrokes;
  throw ToolError("unknown order '" + by + "' (expected radical-stroke or strokes)");
}

void runSort(const SortOptions& opts, const GlobalOptions& global) {
  const kelvorn::SortOrder order = parseOrder(opts.by);
  const auto file = openTextInput(opts.file);
  std::string text = readTextInput(file ? &*file : nullptr, "sort at most that much at once");
  const auto loaded = loadIndex(global, opts.fieldsData, IndexUse::kTablesOnly);
  Lines input = splitLines(std::move(text), *loaded->index, order);
  // stable_sort borrows a buffer of half the lines: 8 more bytes a line.
  // Keys compare as std::string does: bytes, then a prefix first.
  std::stable_sort(input.lines.begin(), input.lines.end(), [&input](const Line& a, const Line& b) {
    return input.keyOf(a) < input.keyOf(b);
  });
  // Printed in pieces: a second copy of the input would double what is held.
  constexpr std::size_t kPiece = 1 << 20;
  std::string out;
  for (const Line& line : input.lines) {
    out.append(input.text, line.textStart, line.textLength).push_back('\n');
    if (out.size() >= kPiece) {
      writeStdout(out);
      out.clear();
    }
  }
  writeStdout(out);
}

}  // namespace

Command addSortCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<SortOptions>();
  CLI::App* app = parent.add_subcommand(
      "sort", "Sort UTF-8 lines by radical-stroke or total-strokes order, stably");
  app->add_option("--by", opts->by, "radical-stroke (default) or strokes");
  app->add_option("FILE", opts->file, "Text file to sort (default: standard input)");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts, &global] { runSort(*opts, global); }};
}

}  // namespace unihan_tool
