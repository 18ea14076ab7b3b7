#include "fields/GlossIndex.h"

#include <algorithm>
#include <iterator>

namespace kelvorn_fields_private {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::vector<std::string> glossWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (!isAsciiLetter(text[i])) {
      ++i;
      continue;
    }
    std::string word;
    for (; i < text.size() && isAsciiLetter(text[i]); ++i) word.push_back(lower(text[i]));
    words.push_back(std::move(word));
  }
  return words;
}

GlossIndex::GlossIndex(const kelvorn::UnihanFields& fields) {
  const std::optional<std::size_t> field = fields.fieldIndex("kDefinition");
  if (!field) return;
  // Code points come in ascending order, so each list is sorted as it grows
  // and a repeated word of one definition is its list's last entry.
  for (const char32_t cp : fields.codePointsWith("kDefinition")) {
    for (std::string& word : glossWords(fields.valueAt(cp, *field).value_or(""))) {
      std::vector<char32_t>& list = byWord_[std::move(word)];
      if (list.empty() || list.back() != cp) list.push_back(cp);
    }
  }
}

std::vector<char32_t> GlossIndex::search(std::string_view query) const {
  std::vector<const std::vector<char32_t>*> lists;
  for (const std::string& word : glossWords(query)) {
    const auto found = byWord_.find(word);
    if (found == byWord_.end()) return {};
    lists.push_back(&found->second);
  }
  if (lists.empty()) return {};
  std::sort(lists.begin(), lists.end(),
            [](const auto* a, const auto* b) { return a->size() < b->size(); });
  std::vector<char32_t> result = *lists.front();
  for (std::size_t i = 1; i < lists.size() && !result.empty(); ++i) {
    std::vector<char32_t> kept;
    std::set_intersection(result.begin(), result.end(), lists[i]->begin(), lists[i]->end(),
                          std::back_inserter(kept));
    result.swap(kept);
  }
  return result;
}

}  // namespace kelvorn_fields_private
