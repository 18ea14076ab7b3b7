// What the copies of one UnihanLexicon share: the store and the indexes over
// it, each built on first use under its own std::once_flag, so that threads
// that ask at once wait for one build instead of racing to make several.
#ifndef KELVORN_FIELDS_LEXICONSTATE_H
#define KELVORN_FIELDS_LEXICONSTATE_H

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "fields/ConversionTable.h"
#include "fields/GlossIndex.h"
#include "fields/StoredLexicon.h"
#include "fields/ValueIndex.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"

namespace kelvorn_fields_private {

class LexiconState {
 public:
  // With stored tables, searches and lookups of the fields they keep answer
  // from them, and nothing is read or built for those.
  explicit LexiconState(const kelvorn::UnihanFields& fields,
                        std::shared_ptr<const StoredLexicon> stored = nullptr);

  const kelvorn::UnihanFields& fields() const noexcept { return fields_; }
  const ConversionTable& table(kelvorn::Script to) const;
  // The first conversion of a short text in each direction works out the
  // forms of its own characters only; the table is built for the next.
  std::string convert(std::string_view text, kelvorn::Script to,
                      std::vector<MarkedChar>* marked) const;
  // The first search reads the definitions once; the gloss index is built
  // for the second, when a process shows it will ask more than one.
  std::vector<char32_t> search(std::string_view query) const;
  // The characters with the value among the field's values; nullptr for a
  // field the store does not have. A field's first lookup reads its values
  // once and keeps the answer; its index is built for a lookup of another
  // value.
  const std::vector<char32_t>* charsWith(std::string_view field, std::string_view value) const;

 private:
  kelvorn::UnihanFields fields_;
  std::shared_ptr<const StoredLexicon> stored_;
  mutable std::atomic<bool> converted_[2] = {false, false};
  mutable std::once_flag tableOnce_[2];
  mutable ConversionTable tables_[2];
  mutable std::atomic<bool> searched_{false};
  mutable std::once_flag glossOnce_;
  mutable GlossIndex gloss_;
  struct FirstLookup {
    bool taken = false;
    std::string value;
    std::vector<char32_t> chars;
  };
  // One of each per field, by field index.
  mutable std::mutex firstLookupsMutex_;
  std::unique_ptr<FirstLookup[]> firstLookups_;
  // By field index, for the fields the stored tables keep.
  std::vector<std::unique_ptr<StoredAnswers>> storedAnswers_;
  std::unique_ptr<std::atomic<bool>[]> indexed_;  // once built, no lock is taken
  std::unique_ptr<std::once_flag[]> valuesOnce_;
  std::unique_ptr<ValueIndex[]> values_;
};

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_LEXICONSTATE_H
