// kelvorn::Unihan: the questions the all-field store and its lexicon answer.
#include <utility>

#include "app/Bundle.h"
#include "fields/expand/FieldGrammar.h"
#include "kelvorn/Unihan.h"

namespace kelvorn {
namespace {

ExpandedValue publicForm(const kelvorn_expand::Value& value) {
  ExpandedValue out;
  out.kind = static_cast<ExpandedValue::Kind>(value.kind);
  out.key = value.key;
  out.integer = value.integer;
  out.text = value.text;
  out.items.reserve(value.items.size());
  for (const kelvorn_expand::Value& item : value.items) out.items.push_back(publicForm(item));
  return out;
}

}  // namespace

std::optional<std::string_view> Unihan::field(char32_t codePoint, std::string_view name) const {
  return fieldStore().value(codePoint, name);
}

std::vector<FieldValue> Unihan::fields(char32_t codePoint) const {
  return fieldStore().fields(codePoint);
}

std::vector<std::string_view> Unihan::fieldNames() const { return fieldStore().fieldNames(); }

std::optional<ExpandedValue> Unihan::expandedField(char32_t codePoint,
                                                   std::string_view name) const {
  const std::optional<std::string_view> raw = field(codePoint, name);
  if (!raw) return std::nullopt;
  kelvorn_expand::Value value;
  value.kind = kelvorn_expand::Value::Kind::kString;
  value.text = *raw;
  if (const kelvorn_expand::FieldExpander* expander = kelvorn_expand::expanderOf(name)) {
    kelvorn_expand::expandValue(*expander, *raw, &value);
  }
  return publicForm(value);
}

std::vector<char32_t> Unihan::charsWith(std::string_view field, std::string_view value) const {
  return lexicon().charsWith(field, value);
}

std::vector<Variant> Unihan::variants(char32_t codePoint) const {
  return lexicon().variants(codePoint);
}

ScriptClass Unihan::scriptClass(char32_t codePoint) const {
  return lexicon().scriptClass(codePoint);
}

std::string Unihan::convert(std::string_view utf8, Script to) const {
  return lexicon().convert(utf8, to);
}

std::vector<char32_t> Unihan::search(std::string_view words) const {
  return lexicon().search(words);
}

}  // namespace kelvorn
