// Finds the block that answers for a code point: the first block, in list
// order, that encloses it, even when a later block encloses it too.
//
// When a load ends, the blocks are swept once into sorted, disjoint segments,
// each naming the first block that covers it; a lookup then searches the
// segments. A page table over the code space narrows that search to the
// segments of one page, so a lookup inside the code space costs at most a
// binary search over one page's segments whatever the store holds: a single
// comparison for the dozen blocks of real data. Pages are 256 code points,
// or smaller for stores of many small blocks, so that the table grows with
// the segments and keeps their count per page small. Code points outside
// the code space search all segments.
#ifndef KELVORN_STORE_SEGMENTINDEX_H
#define KELVORN_STORE_SEGMENTINDEX_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/records.h"

namespace kelvorn_private {

class SegmentIndex {
 public:
  static constexpr std::int32_t kCodeSpace = 0x110000;
  static constexpr int kMaxPageBits = 8;
  static constexpr int kMinPageBits = 2;

  SegmentIndex();

  // Describes `blocks`, which must not change until the next build: every
  // change of the block list is followed by one.
  void build(const std::vector<UnihanBlock>& blocks);

  // A run of code points that one block answers for, with what a query
  // needs of that block at hand, so that a lookup reaches a character record
  // without going through the block.
  struct Segment {
    std::int32_t first;
    std::int32_t last;
    std::int32_t blockFirst;
    std::uint32_t charCount;
    const CharRec* chars;
    const UnihanBlock* block;
  };

  // The segment holding the code point, or null when no block encloses it.
  const Segment* find(std::int32_t codePoint) const {
    if (static_cast<std::uint32_t>(codePoint) < static_cast<std::uint32_t>(kCodeSpace)) {
      const std::uint32_t page = static_cast<std::uint32_t>(codePoint) >> pageBits_;
      return search(pageStart_[page], pageStart_[page + 1], codePoint);
    }
    // Only here can the search end on the sentinel: at INT32_MAX.
    const Segment* found = search(0, segmentCount_, codePoint);
    return found == &segments_[segmentCount_] ? nullptr : found;
  }

  std::size_t segmentCount() const { return segmentCount_; }

 private:
  // The first segment in [lo, hi] that ends at or after the code point, if
  // it holds the code point. Segment hi, when it is not the sentinel, ends
  // there; the sentinel, which starts at INT32_MAX, ends the search
  // otherwise, so the search needs no bound.
  const Segment* search(std::size_t lo, std::size_t hi, std::int32_t codePoint) const {
    const Segment* segments = segments_.data();
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (segments[mid].last < codePoint) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    return segments[lo].first > codePoint ? nullptr : &segments[lo];
  }

  void addSegment(std::int64_t first, std::int64_t last, const UnihanBlock* block);
  void sweep(const std::vector<UnihanBlock>& blocks);
  void indexPages();

  std::vector<Segment> segments_;  // the segments, then the sentinel
  std::size_t segmentCount_ = 0;   // without the sentinel
  int pageBits_ = kMaxPageBits;
  // pageStart_[p]: the first segment that ends at or after page p's first
  // code point; one entry more for the end of the code space.
  std::vector<std::uint32_t> pageStart_;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_SEGMENTINDEX_H
