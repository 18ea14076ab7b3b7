// The expanded form of a field value: a small tree of null, integers,
// strings, arrays and objects with ordered members. The tool writes it as
// JSON and the Python module turns it into None, int, str, list and dict,
// so both show a value the same way.
#ifndef KELVORN_FIELDS_EXPAND_VALUE_H
#define KELVORN_FIELDS_EXPAND_VALUE_H

#include <cstdint>
#include <string_view>
#include <vector>

namespace kelvorn_expand {

struct Value {
  enum class Kind : unsigned char { kNull, kInteger, kString, kArray, kObject };

  Kind kind = Kind::kNull;
  // The member's name when the value is a member of an object; the names
  // are the grammars' own string literals.
  std::string_view key;
  std::int64_t integer = 0;
  // A string is a piece of the raw value it was parsed from, so it lives as
  // long as that value does (for the all-field store: as long as its image).
  std::string_view text;
  // The elements of an array, or the members of an object in grammar order.
  std::vector<Value> items;
};

// The member named `key` of an object, or nullptr.
const Value* member(const Value& object, std::string_view key);

}  // namespace kelvorn_expand

#endif  // KELVORN_FIELDS_EXPAND_VALUE_H
