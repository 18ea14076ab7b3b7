// unihan sort: lines of UTF-8 text in radical-stroke or total-strokes order,
// character by character, stable.
#include <algorithm>
#include <cstdint>
#include <cstring>
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

// The input is held once, and beside it only where each line starts: four
// bytes a line. Two lines are compared character by character through a
// table of the key of each code point the input holds, worked out once (at
// most 3.3 MB in radical-stroke order, 5.6 MB in total-strokes order, and
// four bytes a code point up to the highest one the input holds); a line's
// key is its characters' keys one after another, so comparing keys bytewise,
// a prefix first, is comparing lines this way. Empty lines, which would cost
// four bytes of place for one of text, are only counted: their key is empty,
// so they come first. So what sort holds stays within three times its input
// whatever the line lengths, beside that table. The input is at most kMaxTextInputBytes, so 32-bit
// offsets reach all of it.
struct Lines {
  std::string text;
  std::size_t emptyLines = 0;
  std::vector<std::uint32_t> starts;  // of the lines that are not empty

  std::string_view at(std::uint32_t start) const {
    const std::string_view rest = std::string_view(text).substr(start);
    return rest.substr(0, rest.find('\n'));
  }
};

static_assert(kMaxTextInputBytes < UINT32_MAX, "a line's offset is 32 bits");

// Every line is checked before anything is sorted or printed, so that a bad
// one leaves no output behind.
Lines splitLines(std::string text) {
  Lines out;
  out.text = std::move(text);
  const std::string_view all = out.text;
  // Counted first, so that the list does not grow by doubling past its size.
  out.starts.reserve(static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1);
  std::size_t number = 0;
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = std::min(all.find('\n', start), all.size());
    ++number;
    if (!kelvorn::utf8::isValid(all.substr(start, end - start))) {
      throw ToolError("line " + std::to_string(number) + " is not valid UTF-8");
    }
    if (end == start) {
      ++out.emptyLines;
    } else {
      out.starts.push_back(static_cast<std::uint32_t>(start));
    }
    start = end + 1;
  }
  return out;
}

// The key of every code point the input holds, worked out once for each
// distinct one (a key of every code point there is would cost a one-line
// input far more than its sort), and where each one's key lies.
class KeyTable {
 public:
  KeyTable(const kelvorn::UnihanIndex& index, kelvorn::SortOrder order, std::string_view text) {
    char32_t highest = 0;
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
      kelvorn::utf8::next(text, &i, &cp);
      highest = std::max(highest, cp);
    }
    slot_.assign(static_cast<std::size_t>(highest) + 1, kNone);
    std::u32string distinct;
    for (std::size_t i = 0; i < text.size();) {
      kelvorn::utf8::next(text, &i, &cp);
      if (slot_[cp] != kNone) continue;
      slot_[cp] = static_cast<std::uint32_t>(distinct.size());
      distinct.push_back(cp);
    }
    index.appendSortKey(distinct, order, &keys_);
    width_ = distinct.empty() ? 0 : keys_.size() / distinct.size();
  }

  // Below, at or above zero as the line that starts a comes before, with or
  // after the one that starts b; each ends at a line feed or at the end of
  // the text, and is valid UTF-8. Ends are found on the way, not before.
  int compare(std::string_view a, std::string_view b) const {
    std::size_t i = 0;
    std::size_t j = 0;
    char32_t ca = 0;
    char32_t cb = 0;
    for (;;) {
      const bool endA = i == a.size() || a[i] == '\n';
      const bool endB = j == b.size() || b[j] == '\n';
      if (endA || endB) return static_cast<int>(!endA) - static_cast<int>(!endB);
      kelvorn::utf8::next(a, &i, &ca);
      kelvorn::utf8::next(b, &j, &cb);
      if (ca == cb) continue;
      const int order = std::memcmp(&keys_[slot_[ca] * width_], &keys_[slot_[cb] * width_], width_);
      if (order != 0) return order;
    }
  }

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  std::vector<std::uint32_t> slot_;  // by code point: its key's place in keys_
  std::string keys_;
  std::size_t width_ = 0;
};

kelvorn::SortOrder parseOrder(const std::string& by) {
  if (by == "radical-stroke") return kelvorn::SortOrder::kRadicalStroke;
  if (by == "strokes") return kelvorn::SortOrder::kTotalStrokes;
  throw ToolError("unknown order '" + by + "' (expected radical-stroke or strokes)");
}

void runSort(const SortOptions& opts, const GlobalOptions& global) {
  const kelvorn::SortOrder order = parseOrder(opts.by);
  const auto file = openTextInput(opts.file);
  std::string text = readTextInput(file ? &*file : nullptr, "sort at most that much at once");
  Lines input = splitLines(std::move(text));
  const kelvorn::Unihan bundle = openSelectedBundle(global, opts.fieldsData);
  const KeyTable keys(bundle.index(), order, input.text);
  // Lines of equal keys keep their input order: the offset breaks the tie,
  // which needs no buffer as a stable sort would.
  std::sort(input.starts.begin(), input.starts.end(),
            [&input, &keys](std::uint32_t a, std::uint32_t b) {
              const std::string_view text = input.text;
              const int order = keys.compare(text.substr(a), text.substr(b));
              return order != 0 ? order < 0 : a < b;
            });
  // Printed in pieces: a second copy of the input would double what is held.
  constexpr std::size_t kPiece = 1 << 20;
  std::string out(input.emptyLines % kPiece, '\n');
  for (std::size_t i = input.emptyLines / kPiece; i-- > 0;) writeStdout(std::string(kPiece, '\n'));
  for (const std::uint32_t start : input.starts) {
    out.append(input.at(start)).push_back('\n');
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
