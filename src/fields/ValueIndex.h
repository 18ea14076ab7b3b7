// One field in reverse: each of its space-separated values -> the characters
// that have it.
#ifndef KELVORN_FIELDS_VALUEINDEX_H
#define KELVORN_FIELDS_VALUEINDEX_H

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {

// The characters that have `value` among the field's values, ascending, each
// once: what ValueIndex(fields, field).find(value) answers, found by reading
// the field's values once where they lie, which costs a fraction of
// building the index for one value.
std::vector<char32_t> findByScan(const kelvorn::UnihanFields& fields, std::size_t field,
                                 std::string_view value);

class ValueIndex {
 public:
  ValueIndex() = default;
  ValueIndex(const kelvorn::UnihanFields& fields, std::size_t field);

  // Ascending, each character once; an empty list for an unknown value.
  const std::vector<char32_t>& find(std::string_view value) const;
  // Every value with its characters, for the stored tables.
  const std::unordered_map<std::string_view, std::vector<char32_t>>& lists() const noexcept {
    return byValue_;
  }

 private:
  // Keys point into the store's image, which the lexicon keeps alive.
  std::unordered_map<std::string_view, std::vector<char32_t>> byValue_;
};

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_VALUEINDEX_H
