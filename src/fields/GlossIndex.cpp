#include "fields/GlossIndex.h"

#include <algorithm>
#include <iterator>

#include "fields/EnglishEndings.h"
#include "fields/SearchRank.h"

namespace kelvorn_fields_private {
namespace {

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The query's words, each with the forms of it that a definition may have.
struct QueryWord {
  std::vector<std::string> forms;
};

bool equalsLowered(std::string_view run, const std::string& form) {
  if (run.size() != form.size()) return false;
  for (std::size_t i = 0; i < run.size(); ++i) {
    if (lower(run[i]) != form[i]) return false;
  }
  return true;
}

// Whether the definition has, for every query word, the word or a base form
// of it among its own words. `found` is the caller's, so that it is not
// allocated again for every definition.
bool hasEveryWord(std::string_view definition, const std::vector<QueryWord>& query,
                  std::vector<char>* found) {
  found->assign(query.size(), 0);
  std::size_t missing = query.size();
  std::size_t i = 0;
  while (i < definition.size() && missing > 0) {
    if (!isAsciiLetter(definition[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < definition.size() && isAsciiLetter(definition[i])) ++i;
    const std::string_view run = definition.substr(start, i - start);
    for (std::size_t w = 0; w < query.size(); ++w) {
      if ((*found)[w] != 0) continue;
      for (const std::string& form : query[w].forms) {
        if (!equalsLowered(run, form)) continue;
        (*found)[w] = 1;
        --missing;
        break;
      }
    }
  }
  return missing == 0;
}

}  // namespace

std::vector<char32_t> searchByScan(const kelvorn::UnihanFields& fields, std::string_view query) {
  std::vector<QueryWord> words;
  for (const std::string& word : glossWords(query)) words.push_back({baseForms(word)});
  const std::optional<std::size_t> field = fields.fieldIndex("kDefinition");
  if (words.empty() || !field) return {};
  std::vector<char32_t> found;
  std::vector<char> wordsFound;
  for (const char32_t cp : fields.codePointsWith("kDefinition")) {
    if (hasEveryWord(fields.valueAt(cp, *field).value_or(""), words, &wordsFound)) {
      found.push_back(cp);
    }
  }
  return searchOrder(fields, std::move(found));
}

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
  byPlace_ = searchOrder(fields, fields.codePointsWith("kDefinition"));
  // Places come in ascending order, so each list is sorted as it grows and a
  // repeated word of one definition is its list's last entry.
  for (std::uint32_t place = 0; place < byPlace_.size(); ++place) {
    for (std::string& word : glossWords(fields.valueAt(byPlace_[place], *field).value_or(""))) {
      std::vector<std::uint32_t>& list = byWord_[std::move(word)];
      if (list.empty() || list.back() != place) list.push_back(place);
    }
  }
}

std::optional<std::vector<std::uint32_t>> placesOfQuery(std::string_view query,
                                                        const PlacesOfForm& placesOf) {
  std::vector<std::vector<std::uint32_t>> lists;
  for (const std::string& word : glossWords(query)) {
    // A word's characters: those of any of its forms.
    std::vector<std::uint32_t> places;
    std::vector<std::uint32_t> scratch;
    for (const std::string& form : baseForms(word)) {
      PlaceList found;
      if (!placesOf(form, &scratch, &found)) return std::nullopt;
      // Mostly a word has one form with characters: its list is taken
      // whole, not merged item by item.
      if (places.empty()) {
        if (found.begin == scratch.data()) {
          places.swap(scratch);
        } else {
          places.assign(found.begin, found.end);
        }
        continue;
      }
      std::vector<std::uint32_t> merged;
      std::set_union(places.begin(), places.end(), found.begin, found.end,
                     std::back_inserter(merged));
      places.swap(merged);
    }
    if (places.empty()) return places;
    lists.push_back(std::move(places));
  }
  if (lists.empty()) return std::vector<std::uint32_t>();
  std::sort(lists.begin(), lists.end(),
            [](const auto& a, const auto& b) { return a.size() < b.size(); });
  std::vector<std::uint32_t> places = std::move(lists.front());
  for (std::size_t i = 1; i < lists.size() && !places.empty(); ++i) {
    std::vector<std::uint32_t> kept;
    std::set_intersection(places.begin(), places.end(), lists[i].begin(), lists[i].end(),
                          std::back_inserter(kept));
    places.swap(kept);
  }
  return places;
}

std::vector<char32_t> GlossIndex::search(std::string_view query) const {
  const std::optional<std::vector<std::uint32_t>> places = placesOfQuery(
      query, [this](const std::string& form, std::vector<std::uint32_t>*, PlaceList* list) {
        const auto found = byWord_.find(form);
        if (found != byWord_.end()) {
          list->begin = found->second.data();
          list->end = found->second.data() + found->second.size();
        }
        return true;
      });
  std::vector<char32_t> result;
  result.reserve(places->size());
  for (const std::uint32_t place : *places) result.push_back(byPlace_[place]);
  return result;
}

}  // namespace kelvorn_fields_private
