// Strings filed by code point, as an index keeps kHanyuPinlu's counted
// readings and the other Mandarin fields' readings of each character.
#ifndef KELVORN_INDEX_CODEPOINTSTRINGS_H
#define KELVORN_INDEX_CODEPOINTSTRINGS_H

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "index/Tables.h"

namespace kelvorn_index_private {

// One string an element, ascending by code point (a code point may have
// several, in the order added), each cut from bytes at its start and the
// next. Empty, starts may be empty too.
struct CodePointStrings {
  Table<char32_t> codePoints;
  Table<std::uint32_t> starts;  // one more than codePoints
  Table<char> bytes;

  std::string_view at(std::size_t i) const noexcept {
    return {bytes.data() + starts[i], starts[i + 1] - starts[i]};
  }
  // The place of the first string of codePoint at or after `from`, or of
  // the first code point past it.
  const char32_t* firstOf(char32_t codePoint, const char32_t* from) const noexcept {
    return std::lower_bound(from, codePoints.end(), codePoint);
  }
  std::size_t placeOf(const char32_t* at) const noexcept {
    return static_cast<std::size_t>(at - codePoints.begin());
  }
};

// Strings added in ascending code-point order, filed once.
class CodePointStringsBuilder {
 public:
  void add(char32_t codePoint, std::string_view s) {
    codePoints_.push_back(codePoint);
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    starts_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  }
  void build(CodePointStrings* out) {
    out->codePoints.own(std::move(codePoints_));
    out->starts.own(std::move(starts_));
    out->bytes.own(std::move(bytes_));
  }

 private:
  std::vector<char32_t> codePoints_;
  std::vector<std::uint32_t> starts_{0};
  std::vector<char> bytes_;
};

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_CODEPOINTSTRINGS_H
