#include "store/BlockIndex.h"

#include <algorithm>

namespace kelvorn_private {
namespace {

bool sortedAndDisjoint(const std::vector<UnihanBlock>& blocks) {
  std::int64_t previousLast = -1;
  for (const UnihanBlock& block : blocks) {
    if (block.first <= previousLast || block.last < block.first ||
        block.last >= BlockIndex::kCodeSpace) {
      return false;
    }
    previousLast = block.last;
  }
  return true;
}

}  // namespace

void BlockIndex::build(const std::vector<UnihanBlock>& blocks) noexcept {
  blockCount_ = blocks.size();
  usable_ = blocks.size() < kNoBlock && sortedAndDisjoint(blocks);
  if (!usable_) return;
  std::fill(std::begin(firstBlock_), std::end(firstBlock_), kNoBlock);
  // Sorted, disjoint blocks share at most their edge pages, so this visits
  // each page about once.
  for (std::size_t i = blocks.size(); i-- > 0;) {
    const auto firstPage = static_cast<std::uint32_t>(blocks[i].first) >> kPageBits;
    const auto lastPage = static_cast<std::uint32_t>(blocks[i].last) >> kPageBits;
    for (std::uint32_t page = firstPage; page <= lastPage; ++page) {
      firstBlock_[page] = static_cast<std::uint16_t>(i);
    }
  }
}

}  // namespace kelvorn_private
