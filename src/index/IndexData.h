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

// What the sort keys need of one held code point, as the store keeps it. A
// compatibility ideograph's radical, residual and marks are those of the
// character it sorts as.
struct CharKey {
  bool hasRadicalStroke;        // a kRSUnicode value exists
  std::uint8_t radical;         // of the first kRSUnicode value
  std::uint8_t storedResidual;  // its residual byte, unsigned as stored
  std::uint8_t totalStrokes;    // 0 without kTotalStrokes
  std::uint8_t marks;           // the radical's apostrophes, from the extras
  char32_t sortsAs;             // kCompatibilityVariant's character, or 0
};

// A character's weight in radical-stroke order: its rank among the held
// characters with a value (from 1; equal keys share one), or kNoValueWeight
// plus the code point. 24 bits, so three bytes of a sort key.
constexpr std::uint32_t kNoValueWeight = 0x800000;
constexpr std::uint32_t kWeightMask = 0xFFFFFF;

// A 64-bit number that orders keys as RadicalStrokeKey's operator< does.
std::uint64_t orderValue(const kelvorn::RadicalStrokeKey& key) noexcept;
kelvorn::RadicalStrokeKey radicalStrokeKeyOf(const CharKey* key, char32_t codePoint) noexcept;

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
  // By code point, 0 to the last held: the radical-stroke weight in the low
  // 24 bits, kTotalStrokes (0: none) in the high 8.
  std::vector<std::uint32_t> weights;

  std::uint32_t radicalStrokeWeight(char32_t codePoint) const noexcept {
    return codePoint < weights.size() ? (weights[codePoint] & kWeightMask)
                                      : (kNoValueWeight | codePoint);
  }
  // Total strokes (256 for none) above the radical-stroke weight.
  std::uint64_t totalStrokesWeight(char32_t codePoint) const noexcept {
    const std::uint32_t strokes = codePoint < weights.size() ? weights[codePoint] >> 24 : 0;
    return (std::uint64_t{strokes == 0 ? 256U : strokes} << 24) | radicalStrokeWeight(codePoint);
  }

  // The key of a held code point, or nullptr.
  const CharKey* keyOf(char32_t codePoint) const noexcept;
};

// Walks the store behind data->unihan once and fills every table.
void buildIndex(IndexData* data, const kelvorn::RadicalStrokeExtras& extras);

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_INDEXDATA_H
