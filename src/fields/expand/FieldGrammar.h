// Which Unihan fields have a structure worth expanding, and their grammars:
// the one description of each, shared by `unihan export --expand` and the
// Python module's field(..., expand=True). docs/fields.md lists them.
//
// A value that does not match its field's grammar is never lost: it expands
// to the raw string itself, as every field without a grammar does.
#ifndef KELVORN_FIELDS_EXPAND_FIELDGRAMMAR_H
#define KELVORN_FIELDS_EXPAND_FIELDGRAMMAR_H

#include <string>
#include <string_view>
#include <vector>

#include "fields/expand/Rule.h"
#include "fields/expand/Value.h"

namespace kelvorn_expand {

// A parser for a field whose grammar is not written as rules; it reads the
// whole raw value into a fresh *out and returns false when the value does not
// match. Its writer appends the raw text of what it made; false when it
// cannot.
using ValueParser = bool (*)(std::string_view raw, Value* out);
using ValueWriter = bool (*)(const Value& value, std::string* out);

// How one field expands: by its grammar, which also writes values back, or
// by a parser and writer of its own. A field with neither stays a raw string.
struct FieldExpander {
  std::string_view field;
  const Rule* grammar = nullptr;
  ValueParser parser = nullptr;
  ValueWriter writer = nullptr;
};

// Every field with an expander, in name order.
const std::vector<FieldExpander>& fieldExpanders();

// The field's expander, or nullptr when the field stays a raw string.
const FieldExpander* expanderOf(std::string_view field);

// Replaces *out with the expanded value of `raw`. When raw does not match the
// grammar, *out is the raw string and the answer is false.
bool expandValue(const FieldExpander& expander, std::string_view raw, Value* out);

// The raw text of an expanded value, appended to *out; false when the
// expander has nothing to write with or the value does not fit it.
bool rejoinValue(const FieldExpander& expander, const Value& value, std::string* out);

}  // namespace kelvorn_expand

#endif  // KELVORN_FIELDS_EXPAND_FIELDGRAMMAR_H
