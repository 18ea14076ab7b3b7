// The readings of one field, looked up exactly or loosely. Each lookup is a
// binary search over the distinct keys and a copy of the code points filed
// under the one found, which are kept in code-point order.
#ifndef KELVORN_INDEX_READINGTABLE_H
#define KELVORN_INDEX_READINGTABLE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "index/ReadingFold.h"
#include "index/StringIds.h"
#include "index/Tables.h"
#include "kelvorn/UnihanMgr.h"

namespace kelvorn_index_private {

// Sorted distinct keys, each with the ascending code points filed under it.
// The keys share one buffer: a few thousand short strings cost little more
// than their bytes.
class IndexCodec;

class KeyedRuns {
 public:
  std::size_t size() const noexcept { return keyStarts_.empty() ? 0 : keyStarts_.size() - 1; }
  std::string_view key(std::size_t i) const noexcept;
  // The first key not less than text.
  std::size_t lowerBound(std::string_view text) const noexcept;
  // Appends the code points of keys first..last-1, which are consecutive.
  void append(std::size_t first, std::size_t last, std::vector<char32_t>* out) const;
  std::size_t runStart(std::size_t i) const noexcept { return runStarts_[i]; }

 private:
  friend class ReadingTableBuilder;
  friend class IndexCodec;

  Table<char> keyBytes_;
  Table<std::uint32_t> keyStarts_;  // key i is keyBytes_[keyStarts_[i] .. keyStarts_[i+1])
  Table<std::uint32_t> runStarts_;  // its code points, likewise
  Table<char32_t> codePoints_;
};

class ReadingTable {
 public:
  // Appends the code points whose stored reading is exactly text.
  void findExact(std::string_view text, std::vector<char32_t>* out) const;
  // Appends, in code-point order and each once, the code points with a
  // reading whose loose form answers query.
  void findLoose(const FoldedReading& query, std::vector<char32_t>* out) const;
  // The same for every reading whose loose base begins with the query's.
  void findPrefix(const FoldedReading& query, std::vector<char32_t>* out) const;

 private:
  friend class ReadingTableBuilder;
  friend class IndexCodec;

  KeyedRuns exact_;  // keyed by the stored reading
  KeyedRuns loose_;  // keyed by the loose base and one byte for the tone
};

// Collects the readings of one field while the store is walked in ascending
// code-point order, then files them.
class ReadingTableBuilder {
 public:
  explicit ReadingTableBuilder(kelvorn::unihanPropT field);
  void add(char32_t codePoint, const std::vector<std::string>& readings);
  ReadingTable build() const;

 private:
  struct Posting {
    std::uint32_t key;
    char32_t codePoint;
  };

  static KeyedRuns file(std::vector<std::string> keys, const std::vector<Posting>& postings);
  std::vector<Posting> loosePostings(std::vector<std::string>* keys) const;

  kelvorn::unihanPropT field_;
  StringIds readings_;
  std::vector<Posting> postings_;      // by code point; key is the reading's id
};

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_READINGTABLE_H
