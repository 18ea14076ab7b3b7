#include "fields/LexiconState.h"

#include <utility>

namespace kelvorn_fields_private {

LexiconState::LexiconState(const kelvorn::UnihanFields& fields)
    : fields_(fields),
      valuesOnce_(new std::once_flag[fields_.fieldCount()]),
      values_(new ValueIndex[fields_.fieldCount()]) {}

const ConversionTable& LexiconState::table(kelvorn::Script to) const {
  const auto slot = static_cast<std::size_t>(to);
  std::call_once(tableOnce_[slot], [&] {
    tables_[slot] = buildConversionTable(
        fields_, to == kelvorn::Script::kSimplified ? "kSimplifiedVariant" : "kTraditionalVariant");
  });
  return tables_[slot];
}

std::vector<char32_t> LexiconState::search(std::string_view query) const {
  if (!searched_.exchange(true)) return searchByScan(fields_, query);
  std::call_once(glossOnce_, [&] { gloss_ = GlossIndex(fields_); });
  return gloss_.search(query);
}

const ValueIndex* LexiconState::values(std::string_view field) const {
  const std::optional<std::size_t> index = fields_.fieldIndex(field);
  if (!index) return nullptr;
  std::call_once(valuesOnce_[*index], [&] { values_[*index] = ValueIndex(fields_, *index); });
  return &values_[*index];
}

}  // namespace kelvorn_fields_private
