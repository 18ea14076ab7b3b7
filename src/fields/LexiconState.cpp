#include "fields/LexiconState.h"

#include <utility>

namespace kelvorn_fields_private {

LexiconState::LexiconState(const kelvorn::UnihanFields& fields,
                           std::shared_ptr<const StoredLexicon> stored)
    : fields_(fields),
      stored_(std::move(stored)),
      firstLookups_(new FirstLookup[fields_.fieldCount()]),
      indexed_(new std::atomic<bool>[fields_.fieldCount()]()),
      valuesOnce_(new std::once_flag[fields_.fieldCount()]),
      values_(new ValueIndex[fields_.fieldCount()]) {
  if (!stored_) return;
  storedAnswers_.resize(fields_.fieldCount());
  for (std::size_t field = 0; field < storedAnswers_.size(); ++field) {
    if (const PostingTable* table = stored_->values(field)) {
      storedAnswers_[field] = std::make_unique<StoredAnswers>(table->keyCount());
    }
  }
}

namespace {

std::string_view variantFieldOf(kelvorn::Script to) {
  return to == kelvorn::Script::kSimplified ? "kSimplifiedVariant" : "kTraditionalVariant";
}

// Past this many bytes, working out each character's forms costs more than
// the table.
constexpr std::size_t kShortText = 1024;

}  // namespace

const ConversionTable& LexiconState::table(kelvorn::Script to) const {
  const auto slot = static_cast<std::size_t>(to);
  std::call_once(tableOnce_[slot],
                 [&] { tables_[slot] = buildConversionTable(fields_, variantFieldOf(to)); });
  return tables_[slot];
}

std::string LexiconState::convert(std::string_view text, kelvorn::Script to,
                                  std::vector<MarkedChar>* marked) const {
  const auto slot = static_cast<std::size_t>(to);
  // Loaded first, so that later calls only read the flag.
  if (!converted_[slot].load(std::memory_order_relaxed) && !converted_[slot].exchange(true) &&
      text.size() <= kShortText) {
    return convertText(text, buildConversionTableFor(fields_, variantFieldOf(to), text), marked);
  }
  return convertText(text, table(to), marked);
}

std::vector<char32_t> LexiconState::search(std::string_view query) const {
  if (stored_) {
    if (std::optional<std::vector<char32_t>> found = stored_->search(query)) return *found;
  }
  if (!searched_.load(std::memory_order_relaxed) && !searched_.exchange(true)) {
    return searchByScan(fields_, query);
  }
  std::call_once(glossOnce_, [&] { gloss_ = GlossIndex(fields_); });
  return gloss_.search(query);
}

const std::vector<char32_t>* LexiconState::charsWith(std::string_view field,
                                                     std::string_view value) const {
  const std::optional<std::size_t> index = fields_.fieldIndex(field);
  if (!index) return nullptr;
  if (const PostingTable* table = stored_ ? stored_->values(*index) : nullptr) {
    if (const std::vector<char32_t>* found = storedAnswers_[*index]->find(*table, value)) {
      return found;
    }
  }
  if (!indexed_[*index].load(std::memory_order_acquire)) {
    const std::lock_guard<std::mutex> lock(firstLookupsMutex_);
    FirstLookup& first = firstLookups_[*index];
    if (!first.taken) {
      first.chars = findByScan(fields_, *index, value);
      first.value = value;
      first.taken = true;
    }
    if (first.value == value) return &first.chars;
  }
  std::call_once(valuesOnce_[*index], [&] {
    values_[*index] = ValueIndex(fields_, *index);
    indexed_[*index].store(true, std::memory_order_release);
  });
  return &values_[*index].find(value);
}

}  // namespace kelvorn_fields_private
