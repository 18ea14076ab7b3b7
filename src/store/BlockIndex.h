// A page table over the code space that finds a code point's block in one
// step. The lookup rule is that the first enclosing block in list order
// answers; when the blocks are sorted and disjoint (as every load of sorted
// Unihan text or of an image written from it gives) that block is the only
// enclosing one, and the table names where to look. For any other block list
// the index stays unused and lookups walk the list.
#ifndef KELVORN_STORE_BLOCKINDEX_H
#define KELVORN_STORE_BLOCKINDEX_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/records.h"

namespace kelvorn_private {

class BlockIndex {
 public:
  static constexpr std::int32_t kCodeSpace = 0x110000;
  static constexpr int kPageBits = 8;
  static constexpr std::size_t kPageCount = kCodeSpace >> kPageBits;
  static constexpr std::uint16_t kNoBlock = 0xFFFF;

  // Describes `blocks`, or marks the index unusable when they are unsorted,
  // overlap, leave the code space or are too many for the table.
  void build(const std::vector<UnihanBlock>& blocks) noexcept;

  // True when the index was built for this list. A list that changed size
  // since the build is walked instead.
  bool usableFor(const std::vector<UnihanBlock>& blocks) const {
    return usable_ && blocks.size() == blockCount_;
  }

  // The first block that reaches into the code point's page, or kNoBlock.
  // The code point must lie in the code space.
  std::uint16_t firstBlockOnPage(std::int32_t codePoint) const {
    return firstBlock_[static_cast<std::uint32_t>(codePoint) >> kPageBits];
  }

 private:
  bool usable_ = false;
  std::size_t blockCount_ = 0;
  std::uint16_t firstBlock_[kPageCount] = {};
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_BLOCKINDEX_H
