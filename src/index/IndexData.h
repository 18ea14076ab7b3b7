// Everything a UnihanIndex answers from, built once and never changed.
#ifndef KELVORN_INDEX_INDEXDATA_H
#define KELVORN_INDEX_INDEXDATA_H

#include <array>
#include <cstdint>
#include <vector>

#include "index/ReadingTable.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanMgr.h"

namespace kelvorn_index_private {

constexpr int kMaxRadical = 214;
constexpr int kSourceCount = 6;  // kRSUnicode .. kRSVantu_Japan1_6
constexpr int kMaxStrokes = 255;
constexpr int kReadingFieldCount = 4;  // kHanyuPinlu .. kMandarin
// One page per source and radical 0..214; radical 0 stays empty.
constexpr std::size_t kRadicalSlots = std::size_t{kSourceCount} * (kMaxRadical + 1);

// What the sort keys need of one held code point, as the store keeps it.
struct CharKey {
  bool hasRadicalStroke;        // a kRSUnicode value exists
  std::uint8_t radical;         // of the first kRSUnicode value
  std::uint8_t storedResidual;  // its residual byte, unsigned as stored
  std::uint8_t totalStrokes;    // 0 without kTotalStrokes
};

struct IndexData {
  explicit IndexData(const kelvorn::UnihanMgr& handle) : unihan(handle) {}

  // The core's queries are non-const members though they only read; this
  // copy of the handle also keeps the store alive.
  mutable kelvorn::UnihanMgr unihan;

  std::vector<char32_t> codePoints;  // held code points, ascending
  std::vector<CharKey> keys;         // parallel to codePoints
  // Entry source * (kMaxRadical + 1) + radical; radical 0 stays empty.
  std::vector<std::vector<kelvorn::RadicalEntry>> radicals;
  std::array<std::vector<char32_t>, kMaxStrokes + 1> strokes;  // entry 0 stays empty
  std::array<ReadingTable, kReadingFieldCount> readings;       // field - kHanyuPinlu

  // The key of a held code point, or nullptr.
  const CharKey* keyOf(char32_t codePoint) const noexcept;
};

// Walks the store behind data->unihan once and fills every table.
void buildIndex(IndexData* data);

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_INDEXDATA_H
