#include "kelvorn/UnihanLexicon.h"

#include <algorithm>
#include <utility>

#include "fields/FileErrors.h"
#include "fields/LexiconState.h"
#include "fields/NearestName.h"
#include "fields/SearchRank.h"
#include "fields/VariantValues.h"

namespace kelvorn {

using kelvorn_fields_private::LexiconState;
using kelvorn_fields_private::parseVariantValue;
using kelvorn_fields_private::StoredLexicon;
using kelvorn_fields_private::VariantTarget;

namespace {

std::vector<VariantTarget> targetsOf(const UnihanFields& fields, char32_t cp,
                                     std::string_view field) {
  // Data without the field (a hand-made text) simply lists no variants.
  const std::optional<std::size_t> index = fields.fieldIndex(field);
  const std::optional<std::string_view> value = index ? fields.valueAt(cp, *index) : std::nullopt;
  if (!value) return {};
  return parseVariantValue(*value).targets;
}

bool listsOther(const std::vector<VariantTarget>& targets, char32_t cp) {
  return std::any_of(targets.begin(), targets.end(),
                     [cp](const VariantTarget& t) { return t.codePoint != cp; });
}

bool listsItself(const std::vector<VariantTarget>& targets, char32_t cp) {
  return std::any_of(targets.begin(), targets.end(),
                     [cp](const VariantTarget& t) { return t.codePoint == cp; });
}

std::string_view variantFieldOf(Script to) {
  return to == Script::kSimplified ? "kSimplifiedVariant" : "kTraditionalVariant";
}

}  // namespace

UnihanLexicon::UnihanLexicon(const UnihanFields& fields)
    : state_(std::make_shared<const LexiconState>(fields)) {}

UnihanLexicon::UnihanLexicon(const UnihanFields& fields,
                             std::shared_ptr<const kelvorn_fields_private::StoredLexicon> stored)
    : state_(std::make_shared<const LexiconState>(fields, std::move(stored))) {}

UnihanLexicon UnihanLexicon::withStoredTables(const UnihanFields& fields, std::string_view path) {
  const std::string name(path);
  auto mapping = kelvorn_fields_private::asFieldsError(
      [&] { return std::make_unique<kelvorn_fields_private::MappedFile>(name); });
  return UnihanLexicon(fields, StoredLexicon::fromMapping(std::move(mapping), fields, name));
}

UnihanLexicon UnihanLexicon::withStoredTableBytes(const UnihanFields& fields, std::string bytes,
                                                  std::string_view name) {
  return UnihanLexicon(fields,
                       StoredLexicon::fromOwned(std::move(bytes), fields, std::string(name)));
}

std::string UnihanLexicon::storedTables(const std::vector<std::string_view>& valueFields) const {
  return kelvorn_fields_private::writeStoredLexicon(fields(), valueFields);
}

const UnihanFields& UnihanLexicon::fields() const noexcept { return state_->fields(); }

std::vector<Variant> UnihanLexicon::variants(char32_t codePoint) const {
  std::vector<Variant> out;
  for (const std::string_view field : kVariantFields) {
    for (VariantTarget& target : targetsOf(fields(), codePoint, field)) {
      out.push_back({field, target.codePoint, std::move(target.sources)});
    }
  }
  return out;
}

ScriptClass UnihanLexicon::scriptClass(char32_t codePoint) const {
  const std::vector<VariantTarget> simplified =
      targetsOf(fields(), codePoint, "kSimplifiedVariant");
  const std::vector<VariantTarget> traditional =
      targetsOf(fields(), codePoint, "kTraditionalVariant");
  const bool isSimplified =
      listsOther(traditional, codePoint) || listsItself(simplified, codePoint);
  const bool isTraditional =
      listsOther(simplified, codePoint) || listsItself(traditional, codePoint);
  if (isSimplified && isTraditional) return ScriptClass::kBoth;
  if (isSimplified) return ScriptClass::kSimplifiedOnly;
  if (isTraditional) return ScriptClass::kTraditionalOnly;
  return ScriptClass::kNeither;
}

char32_t UnihanLexicon::convert(char32_t codePoint, Script to) const {
  return state_->table(to).convert(codePoint);
}

std::u32string_view UnihanLexicon::conversionTable(Script to) const { return state_->table(to).to; }

std::string UnihanLexicon::convert(std::string_view text, Script to) const {
  return state_->convert(text, to, nullptr);
}

Conversion UnihanLexicon::convertReporting(std::string_view text, Script to) const {
  std::vector<kelvorn_fields_private::MarkedChar> marked;
  Conversion out;
  out.text = state_->convert(text, to, &marked);
  for (const auto& m : marked) {
    AmbiguousChar ambiguous{m.offset, m.index, m.codePoint, m.chosen, {}};
    for (const VariantTarget& t : targetsOf(fields(), m.codePoint, variantFieldOf(to))) {
      ambiguous.candidates.push_back(t.codePoint);
    }
    out.ambiguous.push_back(std::move(ambiguous));
  }
  return out;
}

std::vector<char32_t> UnihanLexicon::search(std::string_view query) const {
  return state_->search(query);
}

std::vector<std::string> UnihanLexicon::glossWords(std::string_view text) {
  return kelvorn_fields_private::glossWords(text);
}

std::vector<char32_t> UnihanLexicon::commonFirst(std::vector<char32_t> characters) const {
  return kelvorn_fields_private::searchOrder(state_->fields(), std::move(characters));
}

const std::vector<char32_t>& UnihanLexicon::charsWith(std::string_view field,
                                                      std::string_view value) const {
  const std::vector<char32_t>* found = state_->charsWith(field, value);
  if (found == nullptr) {
    throw FieldsError(kelvorn_fields_private::unknownFieldMessage(fields().fieldNames(), field));
  }
  return *found;
}

}  // namespace kelvorn
