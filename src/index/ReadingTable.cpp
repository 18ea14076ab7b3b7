#include "index/ReadingTable.h"

#include <algorithm>
#include <numeric>

namespace kelvorn_index_private {
namespace {

template <class T>
bool byKey(const T& a, const T& b) { return a.key < b.key; }

}  // namespace

std::string_view KeyedRuns::key(std::size_t i) const noexcept {
  return {keyBytes_.data() + keyStarts_[i], keyStarts_[i + 1] - keyStarts_[i]};
}

std::size_t KeyedRuns::lowerBound(std::string_view text) const noexcept {
  std::size_t low = 0;
  std::size_t high = size();
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (key(mid) < text) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

void KeyedRuns::append(std::size_t first, std::size_t last, std::vector<char32_t>* out) const {
  out->insert(out->end(), codePoints_.begin() + runStarts_[first],
              codePoints_.begin() + runStarts_[last]);
}

void ReadingTable::findExact(std::string_view text, std::vector<char32_t>* out) const {
  const std::size_t i = exact_.lowerBound(text);
  if (i < exact_.size() && exact_.key(i) == text) exact_.append(i, i + 1, out);
}

void ReadingTable::findLoose(const FoldedReading& query, std::vector<char32_t>* out) const {
  if (query.tone == kNoTone) return;
  // A base's keys are the base and one tone byte 0..5, so they stand
  // together, in tone order.
  std::string key = query.base;
  key += static_cast<char>(query.tone == kAnyTone ? 0 : query.tone);
  std::size_t first = loose_.lowerBound(key);
  key.back() = static_cast<char>(query.tone == kAnyTone ? kToneCount : query.tone + 1);
  const std::size_t last = loose_.lowerBound(key);
  // The base's tones are consecutive sorted runs: merging them in place is
  // linear in the answer. A character read in two tones appears twice.
  const std::size_t begin = out->size();
  for (; first < last; ++first) {
    if (loose_.key(first).size() != key.size()) continue;
    const std::size_t middle = out->size();
    loose_.append(first, first + 1, out);
    std::inplace_merge(out->begin() + static_cast<std::ptrdiff_t>(begin),
                       out->begin() + static_cast<std::ptrdiff_t>(middle), out->end());
  }
  out->erase(std::unique(out->begin() + static_cast<std::ptrdiff_t>(begin), out->end()),
             out->end());
}

void ReadingTable::findPrefix(const FoldedReading& query, std::vector<char32_t>* out) const {
  if (query.tone == kNoTone || query.base.empty()) return;
  // Every key that begins with the base stands in one stretch from the
  // base's lower bound; its last byte is the reading's tone.
  const std::size_t begin = out->size();
  for (std::size_t i = loose_.lowerBound(query.base); i < loose_.size(); ++i) {
    const std::string_view key = loose_.key(i);
    if (key.compare(0, query.base.size(), query.base) != 0) break;
    if (query.tone == kAnyTone || key.back() == static_cast<char>(query.tone)) {
      loose_.append(i, i + 1, out);
    }
  }
  std::sort(out->begin() + static_cast<std::ptrdiff_t>(begin), out->end());
  out->erase(std::unique(out->begin() + static_cast<std::ptrdiff_t>(begin), out->end()),
             out->end());
}

ReadingTableBuilder::ReadingTableBuilder(kelvorn::unihanPropT field) : field_(field) {}

void ReadingTableBuilder::add(char32_t codePoint, const std::vector<std::string>& readings) {
  const std::size_t first = postings_.size();
  for (const std::string& reading : readings) postings_.push_back({readings_.intern(reading), codePoint});
  // A value listed twice for one character files it once.
  const auto begin = postings_.begin() + static_cast<std::ptrdiff_t>(first);
  std::sort(begin, postings_.end(), byKey<Posting>);
  postings_.erase(std::unique(begin, postings_.end(),
                              [](const Posting& a, const Posting& b) { return a.key == b.key; }),
                  postings_.end());
}

// Sorts the keys and files each posting's code point under its key's place,
// stably, so that code points stay ascending within a key.
KeyedRuns ReadingTableBuilder::file(std::vector<std::string> keys,
                                    const std::vector<Posting>& postings) {
  std::vector<std::uint32_t> order(keys.size());
  std::iota(order.begin(), order.end(), 0U);
  std::sort(order.begin(), order.end(),
            [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
  std::vector<std::uint32_t> rank(keys.size());
  std::string keyBytes;
  std::vector<std::uint32_t> keyStarts{0};
  keyStarts.reserve(keys.size() + 1);
  for (std::size_t r = 0; r < order.size(); ++r) {
    rank[order[r]] = static_cast<std::uint32_t>(r);
    keyBytes += keys[order[r]];
    keyStarts.push_back(static_cast<std::uint32_t>(keyBytes.size()));
  }
  std::vector<std::uint32_t> runStarts(keys.size() + 1, 0);
  for (const Posting& p : postings) ++runStarts[rank[p.key] + 1];
  std::partial_sum(runStarts.begin(), runStarts.end(), runStarts.begin());
  std::vector<std::uint32_t> next(runStarts.begin(), runStarts.end() - 1);
  std::vector<char32_t> codePoints(postings.size());
  for (const Posting& p : postings) codePoints[next[rank[p.key]]++] = p.codePoint;
  KeyedRuns runs;
  runs.keyBytes_.own(std::vector<char>(keyBytes.begin(), keyBytes.end()));
  runs.keyStarts_.own(std::move(keyStarts));
  runs.runStarts_.own(std::move(runStarts));
  runs.codePoints_.own(std::move(codePoints));
  return runs;
}

// The postings again, keyed by loose form: the base and a tone byte. Two
// readings of one character may fold alike ("lü" and "lu:"); it is filed once.
std::vector<ReadingTableBuilder::Posting> ReadingTableBuilder::loosePostings(
    std::vector<std::string>* keys) const {
  StringIds looseIds;
  const std::vector<std::string>& readings = readings_.strings();
  std::vector<std::uint32_t> looseOf(readings.size());
  for (std::size_t id = 0; id < readings.size(); ++id) {
    FoldedReading folded = foldStoredReading(readings[id], field_);
    folded.base += static_cast<char>(folded.tone);
    looseOf[id] = looseIds.intern(folded.base);
  }
  *keys = looseIds.strings();
  std::vector<Posting> out;
  out.reserve(postings_.size());
  for (std::size_t i = 0; i < postings_.size();) {
    const std::size_t first = out.size();
    const char32_t cp = postings_[i].codePoint;
    for (; i < postings_.size() && postings_[i].codePoint == cp; ++i) {
      out.push_back({looseOf[postings_[i].key], cp});
    }
    const auto begin = out.begin() + static_cast<std::ptrdiff_t>(first);
    std::sort(begin, out.end(), byKey<Posting>);
    out.erase(std::unique(begin, out.end(),
                          [](const Posting& a, const Posting& b) { return a.key == b.key; }),
              out.end());
  }
  return out;
}

ReadingTable ReadingTableBuilder::build() const {
  ReadingTable table;
  table.exact_ = file(readings_.strings(), postings_);
  std::vector<std::string> looseKeys;
  const std::vector<Posting> loose = loosePostings(&looseKeys);
  table.loose_ = file(std::move(looseKeys), loose);
  return table;
}

}  // namespace kelvorn_index_private
