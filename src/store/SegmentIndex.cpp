#include "store/SegmentIndex.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace kelvorn_private {
namespace {

bool sortedAndDisjoint(const std::vector<UnihanBlock>& blocks) {
  std::int64_t previousLast = INT64_MIN;
  for (const UnihanBlock& block : blocks) {
    if (block.first > block.last || block.first <= previousLast) return false;
    previousLast = block.last;
  }
  return true;
}

}  // namespace

SegmentIndex::SegmentIndex()
    : segments_{{INT32_MAX, INT32_MAX, INT32_MAX, 0, nullptr, nullptr}},
      pageStart_((kCodeSpace >> kMaxPageBits) + 1, 0) {}

void SegmentIndex::build(const std::vector<UnihanBlock>& blocks) {
  segments_.clear();
  if (sortedAndDisjoint(blocks)) {
    segments_.reserve(blocks.size());
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      addSegment(blocks[i].first, blocks[i].last, &blocks[i]);
    }
  } else {
    sweep(blocks);
  }
  segmentCount_ = segments_.size();
  indexPages();
  segments_.push_back({INT32_MAX, INT32_MAX, INT32_MAX, 0, nullptr, nullptr});
  segments_.shrink_to_fit();
}

void SegmentIndex::addSegment(std::int64_t first, std::int64_t last, const UnihanBlock* block) {
  if (!segments_.empty() && segments_.back().block == block &&
      static_cast<std::int64_t>(segments_.back().last) + 1 == first) {
    segments_.back().last = static_cast<std::int32_t>(last);
    return;
  }
  segments_.push_back({static_cast<std::int32_t>(first), static_cast<std::int32_t>(last), block->first,
                       static_cast<std::uint32_t>(block->chars.size()), block->chars.data(), block});
}

// Walks the code points from left to right, keeping the blocks that cover
// the current one in a heap ordered by list position: its top answers. A
// segment ends where the top block ends or where the next block starts, so
// there are at most twice as many segments as blocks.
void SegmentIndex::sweep(const std::vector<UnihanBlock>& blocks) {
  std::vector<std::uint32_t> byFirst;
  byFirst.reserve(blocks.size());
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (blocks[i].first <= blocks[i].last) byFirst.push_back(static_cast<std::uint32_t>(i));
  }
  std::stable_sort(byFirst.begin(), byFirst.end(), [&blocks](std::uint32_t a, std::uint32_t b) {
    return blocks[a].first < blocks[b].first;
  });
  std::priority_queue<std::uint32_t, std::vector<std::uint32_t>, std::greater<>> covering;
  std::size_t next = 0;
  std::int64_t at = INT64_MIN;
  while (next < byFirst.size() || !covering.empty()) {
    if (covering.empty()) at = std::max<std::int64_t>(at, blocks[byFirst[next]].first);
    while (next < byFirst.size() && blocks[byFirst[next]].first <= at) covering.push(byFirst[next++]);
    while (!covering.empty() && blocks[covering.top()].last < at) covering.pop();
    if (covering.empty()) continue;
    const std::uint32_t top = covering.top();
    std::int64_t end = blocks[top].last;
    if (next < byFirst.size()) end = std::min<std::int64_t>(end, blocks[byFirst[next]].first - 1LL);
    addSegment(at, end, &blocks[top]);
    at = end + 1;
  }
}

// About four pages for each segment, at most one per four code points.
void SegmentIndex::indexPages() {
  pageBits_ = kMaxPageBits;
  while (pageBits_ > kMinPageBits && static_cast<std::size_t>(kCodeSpace >> pageBits_) < 4 * segments_.size()) {
    --pageBits_;
  }
  const std::size_t pageCount = static_cast<std::size_t>(kCodeSpace) >> pageBits_;
  pageStart_.assign(pageCount + 1, 0);
  pageStart_.shrink_to_fit();
  std::size_t s = 0;
  for (std::size_t page = 0; page <= pageCount; ++page) {
    const auto pageFirst = static_cast<std::int64_t>(page) << pageBits_;
    while (s < segments_.size() && segments_[s].last < pageFirst) ++s;
    pageStart_[page] = static_cast<std::uint32_t>(s);
  }
}

}  // namespace kelvorn_private
