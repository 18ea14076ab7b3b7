// Characters by the English words of their kDefinition. A word is a maximal
// run of ASCII letters, lowercased: "to lick; to taste, a mat" has the words
// to, lick, taste, a, mat. Queries are split the same way, so that what a
// user types and what the data holds meet on one definition of a word.
#ifndef KELVORN_FIELDS_GLOSSINDEX_H
#define KELVORN_FIELDS_GLOSSINDEX_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {

// The words of text, lowercased, in order (repeats kept).
std::vector<std::string> glossWords(std::string_view text);

// The answer GlossIndex(fields).search(query) gives, found by reading each
// definition once where it lies: for one query that costs a fraction of
// building the index.
std::vector<char32_t> searchByScan(const kelvorn::UnihanFields& fields, std::string_view query);

class GlossIndex {
 public:
  GlossIndex() = default;
  explicit GlossIndex(const kelvorn::UnihanFields& fields);

  // The characters whose definition has every word of the query, or for a
  // word with an English ending (dragons, flies, burned, running) the word
  // it ends, in search order (SearchRank.h); empty for a query without words.
  std::vector<char32_t> search(std::string_view query) const;

 private:
  // The characters whose definition has one query word or a base form of it,
  // as ascending places in search order.
  std::vector<std::uint32_t> placesFor(const std::string& word) const;

  // Each defined character's place in search order, and the way back.
  std::vector<char32_t> byPlace_;
  // word -> the places of the characters whose definition has it, ascending,
  // each once
  std::unordered_map<std::string, std::vector<std::uint32_t>> byWord_;
};

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_GLOSSINDEX_H
