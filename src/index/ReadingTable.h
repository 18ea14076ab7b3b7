// The readings of one field, looked up exactly or loosely. Each lookup is a
// binary search over the distinct readings and a copy of the code points
// filed under the one found, which are kept in code-point order.
#ifndef KELVORN_INDEX_READINGTABLE_H
#define KELVORN_INDEX_READINGTABLE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "index/ReadingFold.h"
#include "kelvorn/UnihanMgr.h"

namespace kelvorn_index_private {

// Code points filed under keys 0..n-1: the code points of key k are
// codePoints[starts[k] .. starts[k+1]), ascending.
struct PostingRuns {
  std::vector<std::uint32_t> starts;
  std::vector<char32_t> codePoints;
};

class ReadingTable {
 public:
  // Appends the code points whose stored reading is exactly text.
  void findExact(std::string_view text, std::vector<char32_t>* out) const;
  // Appends, in code-point order and each once, the code points with a
  // reading whose loose form answers query.
  void findLoose(const FoldedReading& query, std::vector<char32_t>* out) const;

 private:
  friend class ReadingTableBuilder;

  std::vector<std::string> exactKeys_;  // distinct stored readings, sorted
  PostingRuns exact_;
  // Distinct loose bases, sorted; base b in tone t is key b * kToneCount + t.
  std::vector<std::string> looseKeys_;
  PostingRuns loose_;
};

// Collects the readings of one field while the store is walked in ascending
// code-point order, then files them.
class ReadingTableBuilder {
 public:
  explicit ReadingTableBuilder(kelvorn::unihanPropT field) : field_(field) {}
  void add(char32_t codePoint, const std::vector<std::string>& readings);
  ReadingTable build() const;

 private:
  struct Posting {
    std::uint32_t key;
    char32_t codePoint;
  };

  std::uint32_t intern(const std::string& reading);
  PostingRuns fileExact(std::vector<std::string>* keys) const;
  PostingRuns fileLoose(std::vector<std::string>* keys) const;
  static PostingRuns fileRuns(const std::vector<Posting>& postings, std::size_t keyCount);

  kelvorn::unihanPropT field_;
  std::unordered_map<std::string, std::uint32_t> ids_;
  std::vector<std::string> readings_;  // by id
  std::vector<Posting> postings_;      // by code point; key is the reading's id
};

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_READINGTABLE_H
