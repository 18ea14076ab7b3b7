#include "index/ReadingTable.h"

#include <algorithm>
#include <numeric>

namespace kelvorn_index_private {
namespace {

// Sorts strings and tells where each one went: (*rank)[i] is the new place of
// the string that was at i. Equal strings are not expected.
void sortWithRanks(std::vector<std::string>* strings, std::vector<std::uint32_t>* rank) {
  std::vector<std::uint32_t> order(strings->size());
  std::iota(order.begin(), order.end(), 0U);
  std::sort(order.begin(), order.end(),
            [strings](std::uint32_t a, std::uint32_t b) { return (*strings)[a] < (*strings)[b]; });
  rank->assign(strings->size(), 0);
  std::vector<std::string> sorted;
  sorted.reserve(strings->size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    (*rank)[order[i]] = static_cast<std::uint32_t>(i);
    sorted.push_back(std::move((*strings)[order[i]]));
  }
  *strings = std::move(sorted);
}

// Index of text in sorted keys, or keys.size().
std::size_t findKey(const std::vector<std::string>& keys, std::string_view text) {
  const auto it = std::lower_bound(keys.begin(), keys.end(), text,
                                   [](const std::string& key, std::string_view t) { return key < t; });
  return it != keys.end() && *it == text ? static_cast<std::size_t>(it - keys.begin()) : keys.size();
}

void appendRun(const PostingRuns& runs, std::size_t key, std::vector<char32_t>* out) {
  const auto first = runs.codePoints.begin() + runs.starts[key];
  const auto last = runs.codePoints.begin() + runs.starts[key + 1];
  out->insert(out->end(), first, last);
}

}  // namespace

void ReadingTable::findExact(std::string_view text, std::vector<char32_t>* out) const {
  const std::size_t key = findKey(exactKeys_, text);
  if (key != exactKeys_.size()) appendRun(exact_, key, out);
}

void ReadingTable::findLoose(const FoldedReading& query, std::vector<char32_t>* out) const {
  if (query.tone == kNoTone) return;
  const std::size_t base = findKey(looseKeys_, query.base);
  if (base == looseKeys_.size()) return;
  const std::size_t firstKey = base * kToneCount;
  if (query.tone != kAnyTone) {
    appendRun(loose_, firstKey + static_cast<std::size_t>(query.tone), out);
    return;
  }
  // The base's tones are consecutive sorted runs: merging them in place is
  // linear in the answer. A character read in two tones appears twice.
  const std::size_t begin = out->size();
  for (int tone = 0; tone < kToneCount; ++tone) {
    const std::size_t middle = out->size();
    appendRun(loose_, firstKey + static_cast<std::size_t>(tone), out);
    std::inplace_merge(out->begin() + static_cast<std::ptrdiff_t>(begin),
                       out->begin() + static_cast<std::ptrdiff_t>(middle), out->end());
  }
  out->erase(std::unique(out->begin() + static_cast<std::ptrdiff_t>(begin), out->end()),
             out->end());
}

std::uint32_t ReadingTableBuilder::intern(const std::string& reading) {
  const auto [it, inserted] = ids_.try_emplace(reading, static_cast<std::uint32_t>(readings_.size()));
  if (inserted) readings_.push_back(reading);
  return it->second;
}

void ReadingTableBuilder::add(char32_t codePoint, const std::vector<std::string>& readings) {
  const std::size_t first = postings_.size();
  for (const std::string& reading : readings) postings_.push_back({intern(reading), codePoint});
  // A value listed twice for one character files it once.
  const auto begin = postings_.begin() + static_cast<std::ptrdiff_t>(first);
  std::sort(begin, postings_.end(), [](const Posting& a, const Posting& b) { return a.key < b.key; });
  postings_.erase(std::unique(begin, postings_.end(),
                              [](const Posting& a, const Posting& b) { return a.key == b.key; }),
                  postings_.end());
}

// A stable counting sort by key: code points arrive ascending and stay so
// within each key.
PostingRuns ReadingTableBuilder::fileRuns(const std::vector<Posting>& postings,
                                          std::size_t keyCount) {
  PostingRuns runs;
  runs.starts.assign(keyCount + 1, 0);
  for (const Posting& p : postings) ++runs.starts[p.key + 1];
  std::partial_sum(runs.starts.begin(), runs.starts.end(), runs.starts.begin());
  std::vector<std::uint32_t> next(runs.starts.begin(), runs.starts.end() - 1);
  runs.codePoints.resize(postings.size());
  for (const Posting& p : postings) runs.codePoints[next[p.key]++] = p.codePoint;
  return runs;
}

PostingRuns ReadingTableBuilder::fileExact(std::vector<std::string>* keys) const {
  *keys = readings_;
  std::vector<std::uint32_t> rank;
  sortWithRanks(keys, &rank);
  std::vector<Posting> ranked = postings_;
  for (Posting& p : ranked) p.key = rank[p.key];
  return fileRuns(ranked, keys->size());
}

PostingRuns ReadingTableBuilder::fileLoose(std::vector<std::string>* keys) const {
  // Distinct readings fold onto fewer bases; each reading's key is its
  // base's rank and its tone.
  std::unordered_map<std::string, std::uint32_t> baseIds;
  std::vector<std::uint32_t> baseOf(readings_.size());
  std::vector<int> toneOf(readings_.size());
  for (std::size_t id = 0; id < readings_.size(); ++id) {
    FoldedReading folded = foldStoredReading(readings_[id], field_);
    const auto [it, inserted] =
        baseIds.try_emplace(folded.base, static_cast<std::uint32_t>(keys->size()));
    if (inserted) keys->push_back(std::move(folded.base));
    baseOf[id] = it->second;
    toneOf[id] = folded.tone;
  }
  std::vector<std::uint32_t> rank;
  sortWithRanks(keys, &rank);
  std::vector<Posting> folded;
  folded.reserve(postings_.size());
  for (std::size_t i = 0; i < postings_.size();) {
    // Two readings of one character may fold alike ("lü" and "lu:").
    const std::size_t first = folded.size();
    const char32_t cp = postings_[i].codePoint;
    for (; i < postings_.size() && postings_[i].codePoint == cp; ++i) {
      const std::uint32_t id = postings_[i].key;
      const auto key = rank[baseOf[id]] * kToneCount + static_cast<std::uint32_t>(toneOf[id]);
      folded.push_back({key, cp});
    }
    const auto begin = folded.begin() + static_cast<std::ptrdiff_t>(first);
    std::sort(begin, folded.end(), [](const Posting& a, const Posting& b) { return a.key < b.key; });
    folded.erase(std::unique(begin, folded.end(),
                             [](const Posting& a, const Posting& b) { return a.key == b.key; }),
                 folded.end());
  }
  return fileRuns(folded, keys->size() * kToneCount);
}

ReadingTable ReadingTableBuilder::build() const {
  ReadingTable table;
  table.exact_ = fileExact(&table.exactKeys_);
  table.loose_ = fileLoose(&table.looseKeys_);
  return table;
}

}  // namespace kelvorn_index_private
