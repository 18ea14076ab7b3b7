// Reading the fields the core's store leaves out, one at a time, when a
// lookup names one.
#include <algorithm>
#include <string>

#include "fields/NearestName.h"
#include "index/ReadingFold.h"
#include "kelvorn/Error.h"
#include "kelvorn/UnihanIndex.h"

namespace kelvorn {
namespace {

using kelvorn_index_private::FoldedReading;
using kelvorn_index_private::kAnyTone;
using kelvorn_index_private::kNoTone;

bool isDictionaryField(std::string_view field) {
  return field == "kHanyuPinyin" || field == "kTGHZ2013" || field == "kXHC1983";
}

// Space-separated words; an empty word (two spaces, an edge) makes the
// value malformed.
std::optional<std::vector<std::string>> words(std::string_view value) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= value.size()) {
    const std::size_t end = std::min(value.find(' ', start), value.size());
    if (end == start) return std::nullopt;
    out.emplace_back(value.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// kHangul's "한:0E": the syllable, then the sources that give it.
bool dropAfterColon(std::string* word) {
  const std::size_t colon = word->find(':');
  if (colon == 0 || colon == std::string::npos) return false;
  word->resize(colon);
  return true;
}

// kTang's "*khɑn": the star marks the reading most often met.
bool dropLeadingStar(std::string* word) {
  if (!word->empty() && word->front() == '*') word->erase(0, 1);
  return !word->empty();
}

// A final tone digit, 1 to 6 so that kCantonese's six tones count; the rest
// folds as pinyin does, which also lower-cases ASCII.
FoldedReading fold(std::string_view text, bool query) {
  int digit = 0;
  if (text.size() > 1 && text.back() >= '1' && text.back() <= '6') {
    digit = text.back() - '0';
    text.remove_suffix(1);
  }
  FoldedReading folded = query ? kelvorn_index_private::foldQuery(text, kMandarin)
                               : kelvorn_index_private::foldStoredReading(text, kMandarin);
  if (digit == 0) return folded;
  const bool marked = query ? folded.tone != kAnyTone : folded.tone != 5;
  folded.tone = marked && folded.tone != digit ? kNoTone : digit;
  return folded;
}

}  // namespace

const std::vector<std::string_view>& NamedReadings::fieldNames() noexcept {
  static const std::vector<std::string_view> names{"kCantonese", "kHangul",     "kHanyuPinyin",
                                                   "kJapanese",  "kKorean",     "kTGHZ2013",
                                                   "kTang",      "kVietnamese", "kXHC1983"};
  return names;
}

std::optional<std::vector<std::string>> NamedReadings::parse(std::string_view field,
                                                             std::string_view value) {
  const auto& names = fieldNames();
  if (std::find(names.begin(), names.end(), field) == names.end()) return std::nullopt;
  if (isDictionaryField(field)) return MandarinReadings::parse(field, value);
  auto out = words(value);
  if (!out) return std::nullopt;
  for (std::string& word : *out) {
    if (field == "kHangul" && !dropAfterColon(&word)) return std::nullopt;
    if (field == "kTang" && !dropLeadingStar(&word)) return std::nullopt;
  }
  return out;
}

NamedReadings::NamedReadings(std::string_view field) : field_(field) {
  const auto& names = fieldNames();
  if (std::find(names.begin(), names.end(), field) == names.end()) {
    std::string message = "not a reading field the all-field store answers: " + field_;
    const std::string_view nearest = kelvorn_fields_private::nearestName(names, field);
    if (!nearest.empty()) message += "; did you mean " + std::string(nearest) + "?";
    throw Error(message);
  }
}

bool NamedReadings::add(char32_t codePoint, std::string_view value) {
  const auto readings = parse(field_, value);
  if (!readings) return false;
  for (const std::string& r : *readings) {
    FoldedReading folded = fold(r, false);
    entries_.push_back({codePoint, r, std::move(folded.base), folded.tone});
  }
  return true;
}

bool NamedReadings::matches(std::string_view reading, std::string_view text, ReadingMatch match) {
  if (text.empty()) throw Error("empty reading");
  if (match == ReadingMatch::kExact) return reading == text;
  const FoldedReading stored = fold(reading, false);
  const FoldedReading query = fold(text, true);
  if (match == ReadingMatch::kPrefix) return kelvorn_index_private::prefixMatch(stored, query);
  return kelvorn_index_private::looseMatch(stored, query);
}

std::vector<char32_t> NamedReadings::byReading(std::string_view text, ReadingMatch match) const {
  if (text.empty()) throw Error("empty reading");
  const FoldedReading query = fold(text, true);
  std::vector<char32_t> out;
  for (const Entry& e : entries_) {
    const FoldedReading stored{e.looseBase, e.looseTone};
    const bool found = match == ReadingMatch::kExact ? e.reading == text
                       : match == ReadingMatch::kPrefix
                           ? kelvorn_index_private::prefixMatch(stored, query)
                           : kelvorn_index_private::looseMatch(stored, query);
    if (found) out.push_back(e.codePoint);
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::vector<std::string> NamedReadings::readings(char32_t codePoint) const {
  std::vector<std::string> out;
  for (const Entry& e : entries_) {
    if (e.codePoint == codePoint) out.push_back(e.reading);
  }
  return out;
}

}  // namespace kelvorn
