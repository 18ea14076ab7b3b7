// Characters by the English words of their kDefinition. A word is a maximal
// run of ASCII letters, lowercased: "to lick; to taste, a mat" has the words
// to, lick, taste, a, mat. Queries are split the same way, so that what a
// user types and what the data holds meet on one definition of a word.
#ifndef KELVORN_FIELDS_GLOSSINDEX_H
#define KELVORN_FIELDS_GLOSSINDEX_H

#include <cstdint>
#include <functional>
#include <optional>
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

// Ascending places in search order, lying in a table or in `scratch`.
struct PlaceList {
  const std::uint32_t* begin = nullptr;
  const std::uint32_t* end = nullptr;
};
// One word form's characters; false when the table they come from is
// damaged there. A table that keeps its lists as they are points into them;
// one that decodes them decodes into the scratch vector.
using PlacesOfForm = std::function<bool(const std::string& form,
                                        std::vector<std::uint32_t>* scratch, PlaceList* list)>;

// The places of the characters whose definition has every word of the
// query, or for a word with an English ending the word it ends: what
// GlossIndex::search answers, from any table of word forms; nullopt where
// placesOf gave none.
std::optional<std::vector<std::uint32_t>> placesOfQuery(std::string_view query,
                                                        const PlacesOfForm& placesOf);

class GlossIndex {
 public:
  GlossIndex() = default;
  explicit GlossIndex(const kelvorn::UnihanFields& fields);

  // The characters whose definition has every word of the query, or for a
  // word with an English ending (dragons, flies, burned, running) the word
  // it ends, in search order (SearchRank.h); empty for a query without words.
  std::vector<char32_t> search(std::string_view query) const;

  // What the stored tables keep of it.
  const std::vector<char32_t>& order() const noexcept { return byPlace_; }
  const std::unordered_map<std::string, std::vector<std::uint32_t>>& words() const noexcept {
    return byWord_;
  }

 private:
  // Each defined character's place in search order, and the way back.
  std::vector<char32_t> byPlace_;
  // word -> the places of the characters whose definition has it, ascending,
  // each once
  std::unordered_map<std::string, std::vector<std::uint32_t>> byWord_;
};

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_GLOSSINDEX_H
