// Where a held code point lies in an index's tables: the held code points
// in runs of consecutive ones, filed once from the list of them.
#include <algorithm>
#include <cstdint>

#include "index/IndexData.h"

namespace kelvorn_index_private {

namespace {

// How many code points from cps[0] on, at most n, follow it one by one.
// Blocks of them are compared without a branch each: the held code points
// make a few dozen runs of thousands.
std::size_t consecutiveFrom(const char32_t* cps, std::size_t n) noexcept {
  constexpr std::uint32_t kBlock = 16;
  std::size_t k = 1;
  while (k + kBlock <= n) {
    const char32_t* block = cps + k;
    const auto expected = static_cast<std::uint32_t>(cps[0] + k);
    std::uint32_t differ = 0;
    for (std::uint32_t b = 0; b < kBlock; ++b) differ |= block[b] ^ (expected + b);
    if (differ != 0) break;
    k += kBlock;
  }
  while (k < n && cps[k] == static_cast<char32_t>(cps[0] + k)) ++k;
  return k;
}

}  // namespace

bool fileRuns(IndexData* data) {
  const char32_t* cps = data->codePoints.data();
  const std::size_t n = data->codePoints.size();
  data->runs.clear();
  std::uint64_t nextFree = 0;  // one past the last code point of the runs so far
  for (std::size_t i = 0; i < n;) {
    const std::size_t length = consecutiveFrom(cps + i, n - i);
    const std::uint64_t end = std::uint64_t{cps[i]} + length;
    if (cps[i] < nextFree || end - 1 > kLastCodePoint) return false;
    data->runs.push_back({cps[i], static_cast<std::uint32_t>(i)});
    nextFree = end;
    i += length;
  }
  data->runs.shrink_to_fit();
  return true;
}

long IndexData::placeOf(char32_t codePoint) const noexcept {
  auto run = std::upper_bound(runs.begin(), runs.end(), codePoint,
                              [](char32_t cp, const Run& r) { return cp < r.first; });
  if (run == runs.begin()) return -1;
  --run;
  const std::size_t end = run + 1 == runs.end() ? codePoints.size() : (run + 1)->place;
  const std::size_t place = run->place + (codePoint - run->first);
  return place < end ? static_cast<long>(place) : -1;
}

}  // namespace kelvorn_index_private
