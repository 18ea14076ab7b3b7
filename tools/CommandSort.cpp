// unihan sort: lines of UTF-8 text in radical-stroke or total-strokes order,
// character by character, stable.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "Commands.h"
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
};

// The input is held once; a line is where it lies in the text and where its
// characters lie in one decoded buffer, so that no line costs an allocation.
// The input is at most kMaxTextInputBytes, so 32-bit offsets reach all of it.
struct Line {
  std::uint32_t textStart, textLength;
  std::uint32_t charStart, charLength;
};

struct Lines {
  std::string text;
  std::u32string chars;
  std::vector<Line> lines;
};

static_assert(kMaxTextInputBytes < UINT32_MAX, "a line's offsets are 32 bits");

// Every line is decoded before anything is sorted or printed, so that a bad
// one leaves no output behind.
Lines splitLines(std::string text) {
  Lines out;
  out.text = std::move(text);
  const std::string_view all = out.text;
  // Counted first, so that neither list grows by doubling past its size.
  out.lines.reserve(static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1);
  out.chars.reserve(static_cast<std::size_t>(
      std::count_if(all.begin(), all.end(), [](char c) { return (c & 0xC0) != 0x80; })));
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = std::min(all.find('\n', start), all.size());
    const std::string_view line = all.substr(start, end - start);
    const std::size_t charStart = out.chars.size();
    std::size_t pos = 0;
    char32_t cp = 0;
    while (kelvorn::utf8::next(line, &pos, &cp)) out.chars.push_back(cp);
    if (pos != line.size()) {
      throw ToolError("line " + std::to_string(out.lines.size() + 1) + " is not valid UTF-8");
    }
    out.lines.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(line.size()),
                         static_cast<std::uint32_t>(charStart),
                         static_cast<std::uint32_t>(out.chars.size() - charStart)});
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
  Lines input =
      splitLines(readTextInput(file ? &*file : nullptr, "sort at most that much at once"));
  const auto loaded = loadIndex(global);
  const kelvorn::UnihanIndex& index = *loaded->index;
  const std::u32string_view chars = input.chars;
  // stable_sort borrows a buffer of half the lines: 8 more bytes a line.
  std::stable_sort(input.lines.begin(), input.lines.end(), [&](const Line& a, const Line& b) {
    return index.less(chars.substr(a.charStart, a.charLength),
                      chars.substr(b.charStart, b.charLength), order);
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
  return {app, [opts, &global] { runSort(*opts, global); }};
}

}  // namespace unihan_tool
