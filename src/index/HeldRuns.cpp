// Where a held code point lies in an index's tables: the held code points
// in runs of consecutive ones, filed once from the list of them.
#include <algorithm>
#include <cstdint>

#include "index/IndexData.h"

namespace kelvorn_index_private {

bool fileRuns(IndexData* data) {
  const char32_t* cps = data->codePoints.data();
  const std::size_t n = data->codePoints.size();
  data->runs.clear();
  if (n == 0) return true;
  // Checked whole, without a branch a code point, as sound tables are the
  // rule; compared as signed numbers, which vectorize where unsigned ones do
  // not. Past a first at least 0 and a last at most U+10FFFF, that is the
  // same order.
  const auto asSigned = [cps](std::size_t i) { return static_cast<std::int32_t>(cps[i]); };
  std::uint32_t falls = 0;
  for (std::size_t i = 1; i < n; ++i) falls |= static_cast<std::uint32_t>(asSigned(i) <= asSigned(i - 1));
  if (falls != 0 || asSigned(0) < 0 || cps[n - 1] > kLastCodePoint) return false;
  // Ascending strictly, a code point less its place never falls and stays
  // the same along a run, so each run's end is a binary search away.
  for (std::size_t i = 0; i < n;) {
    const auto offset = static_cast<char32_t>(cps[i] - i);
    std::size_t low = i + 1;  // the run ends in [low, high]
    std::size_t high = n;
    while (low < high) {
      const std::size_t mid = low + (high - low) / 2;
      if (static_cast<char32_t>(cps[mid] - mid) == offset) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    data->runs.push_back({cps[i], static_cast<std::uint32_t>(i)});
    i = low;
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
