#include "fields/ValueIndex.h"

namespace kelvorn_fields_private {

ValueIndex::ValueIndex(const kelvorn::UnihanFields& fields, std::size_t field) {
  // Code points come ascending, so every list is sorted as it grows; a value
  // given twice by one character is its list's last entry.
  for (const char32_t cp : fields.codePoints()) {
    std::string_view value = fields.valueAt(cp, field).value_or("");
    while (!value.empty()) {
      const std::size_t space = value.find(' ');
      const std::string_view piece = value.substr(0, space);
      if (!piece.empty()) {
        std::vector<char32_t>& list = byValue_[piece];
        if (list.empty() || list.back() != cp) list.push_back(cp);
      }
      if (space == std::string_view::npos) break;
      value.remove_prefix(space + 1);
    }
  }
}

std::vector<char32_t> findByScan(const kelvorn::UnihanFields& fields, std::size_t field,
                                 std::string_view value) {
  std::vector<char32_t> found;
  // The index keys pieces between spaces, so it has no key holding one.
  if (value.empty() || value.find(' ') != std::string_view::npos) return found;
  for (const char32_t cp : fields.codePointsWith(fields.fieldNames()[field])) {
    const std::string_view held = fields.valueAt(cp, field).value_or("");
    // A piece is the whole value, or bounded by spaces on both sides.
    for (std::size_t at = held.find(value); at != std::string_view::npos;
         at = held.find(value, at + 1)) {
      const std::size_t end = at + value.size();
      if ((at == 0 || held[at - 1] == ' ') && (end == held.size() || held[end] == ' ')) {
        found.push_back(cp);
        break;
      }
    }
  }
  return found;
}

const std::vector<char32_t>& ValueIndex::find(std::string_view value) const {
  static const std::vector<char32_t> kNone;
  const auto found = byValue_.find(value);
  return found == byValue_.end() ? kNone : found->second;
}

}  // namespace kelvorn_fields_private
