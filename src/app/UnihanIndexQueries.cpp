// kelvorn::Unihan: the questions the reverse index answers.
#include <optional>
#include <unordered_set>

#include "app/Bundle.h"
#include "index/saved/SavedIndex.h"
#include "kelvorn/Unihan.h"

namespace kelvorn {

std::vector<char32_t> Unihan::byRadical(int radical, Source source) const {
  // The index lists a character once per residual it has under the
  // radical; asked for characters, each stands once, at its first place.
  std::vector<char32_t> found;
  std::unordered_set<char32_t> seen;
  for (const RadicalEntry& entry : index().byRadical(radical, source)) {
    if (seen.insert(entry.codePoint).second) found.push_back(entry.codePoint);
  }
  return found;
}

std::vector<char32_t> Unihan::byTotalStrokes(int strokes) const {
  return index().byTotalStrokes(strokes);
}

namespace {

// The counts that order an answer: for the first question in frequency
// order only those of the characters `find` finds, for later ones the table
// of every character, built once. `find` runs on the first question alone.
// An index saved with the counts holds them, and the all-field image stays
// closed.
template <typename Find>
std::optional<ReadingFrequencies> firstFrequencies(const kelvorn_app_private::Bundle& bundle,
                                                   const UnihanIndex& index, Find find) {
  if (bundle.askedInFrequencyOrderBefore()) return std::nullopt;
  const std::vector<char32_t> found = find();
  if (std::optional<ReadingFrequencies> saved = index.frequencies(found)) return saved;
  return kelvorn_saved_index::readingFrequenciesOf(bundle.fields(), found);
}

}  // namespace

std::vector<char32_t> Unihan::byReading(std::string_view text, Reading field, ReadingMatch match,
                                        ReadingOrder order) const {
  if (order == ReadingOrder::kCodePoint) return index().byReading(text, field, match);
  const std::optional<ReadingFrequencies> first =
      firstFrequencies(*bundle_, index(), [&] { return index().byReading(text, field, match); });
  return index().byReading(text, field, match, first ? *first : bundle_->frequencies(index()));
}

std::vector<char32_t> Unihan::byReading(std::string_view text, std::string_view field,
                                        ReadingMatch match, ReadingOrder order) const {
  if (const std::optional<Reading> held = readingNamed(field)) {
    return byReading(text, *held, match, order);
  }
  if (!kelvorn_saved_index::isReadingFieldName(field)) {
    throw Error(kelvorn_saved_index::unknownReadingFieldMessage(field));
  }
  const NamedReadings& named = bundle_->named(field);
  if (order == ReadingOrder::kCodePoint) return named.byReading(text, match);
  const std::optional<ReadingFrequencies> first =
      firstFrequencies(*bundle_, index(), [&] { return named.byReading(text, match); });
  return index().byReading(named, text, match, first ? *first : bundle_->frequencies(index()));
}

std::string Unihan::sortKey(std::string_view utf8, SortOrder order) const {
  return index().sortKeyUtf8(utf8, order);
}

int Unihan::compare(std::string_view a, std::string_view b, SortOrder order) const {
  const int byKey = sortKey(a, order).compare(sortKey(b, order));
  return (byKey > 0) - (byKey < 0);
}

}  // namespace kelvorn
