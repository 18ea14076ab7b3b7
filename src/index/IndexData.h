// Everything a UnihanIndex answers from, built once and never changed.
#ifndef KELVORN_INDEX_INDEXDATA_H
#define KELVORN_INDEX_INDEXDATA_H

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "index/CodePointStrings.h"
#include "index/ReadingTable.h"
#include "index/Tables.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanMgr.h"

namespace kelvorn_index_private {

constexpr int kMaxRadical = 214;
constexpr int kSourceCount = 6;  // kRSUnicode .. kRSVantu_Japan1_6
constexpr int kMaxStrokes = 255;
constexpr int kReadingFieldCount = 4;  // kHanyuPinlu .. kMandarin
constexpr int kMaxMarks = 3;           // apostrophes after a radical
constexpr char32_t kLastCodePoint = 0x10FFFF;
// One page per source and radical 0..214; radical 0 stays empty.
constexpr std::size_t kRadicalSlots = std::size_t{kSourceCount} * (kMaxRadical + 1);

// What the sort keys need of one held code point, as the store keeps it. A
// compatibility ideograph's radical, residual and marks are those of the
// character it sorts as. Five bytes, as a saved index keeps it.
struct CharKey {
  bool hasRadicalStroke;        // a kRSUnicode value exists
  std::uint8_t radical;         // of the first kRSUnicode value
  std::uint8_t storedResidual;  // its residual byte, unsigned as stored
  std::uint8_t totalStrokes;    // 0 without kTotalStrokes
  std::uint8_t marks;           // the radical's apostrophes, from the extras
};
static_assert(sizeof(CharKey) == 5 && alignof(CharKey) == 1, "a saved key is five bytes");

// A character's weight in radical-stroke order: its rank among the held
// characters with a value (from 1; equal keys share one), or kNoValueWeight
// plus the code point. 24 bits, so three bytes of a sort key.
constexpr std::uint32_t kNoValueWeight = 0x800000;
constexpr std::uint32_t kWeightMask = 0xFFFFFF;

// A 64-bit number that orders keys as RadicalStrokeKey's operator< does.
std::uint64_t orderValue(const kelvorn::RadicalStrokeKey& key) noexcept;
kelvorn::RadicalStrokeKey radicalStrokeKeyOf(const CharKey* key, char32_t codePoint,
                                             char32_t sortsAs) noexcept;

// Frequency order's table (ReadingFrequencies) as an index keeps it; held is
// false for an index given none.
struct FrequencyTable {
  bool held = false;
  CodePointStrings readings;           // a kHanyuPinlu count's reading each
  Table<std::uint32_t> counts;         // parallel to readings
  Table<char32_t> fallbackCodePoints;  // the fallback order's characters, ascending
  Table<std::uint32_t> fallbackPlaces;  // parallel: each one's place in that order
};

struct IndexData {
  explicit IndexData(const kelvorn::UnihanMgr& handle)
      : unihan(handle), radicals(kRadicalSlots), strokes(kMaxStrokes + 1), codePointList(1) {}

  // The core's queries are non-const members though they only read; this
  // copy of the handle also keeps the store alive.
  mutable kelvorn::UnihanMgr unihan;
  // The saved bytes that the tables of an opened index view.
  std::shared_ptr<const void> saved;

  Table<char32_t> codePoints;  // held code points, ascending
  Table<CharKey> keys;         // parallel to codePoints
  // Page source * (kMaxRadical + 1) + radical; radical 0 stays empty.
  Pages<kelvorn::RadicalEntry> radicals;
  Pages<char32_t> strokes;                                // page 0 stays empty
  std::array<ReadingTable, kReadingFieldCount> readings;  // field - kHanyuPinlu
  // Per radical of kRSUnicode's pages: where the part of each number of
  // marks (0 to kMaxMarks) ends.
  std::array<std::array<std::uint32_t, kMaxMarks + 1>, kMaxRadical + 1> formEnds{};
  // Parallel to codePoints: the radical-stroke weight in the low 24 bits,
  // kTotalStrokes (0: none) in the high 8.
  Table<std::uint32_t> weights;
  // (compatibility ideograph, the character it sorts as), ascending.
  std::vector<std::pair<char32_t, char32_t>> sortsAs;
  // The held code points in runs of consecutive ones, each with the place of
  // its first in codePoints: the data's blocks make a few dozen, so finding
  // a code point's place is a short search.
  struct Run {
    char32_t first;
    std::uint32_t place;
  };
  std::vector<Run> runs;
  // codePoints as the one vector UnihanIndex::codePoints hands out.
  Pages<char32_t> codePointList;
  FrequencyTable frequencies;
  // Each character's readings in the Mandarin fields the index was given
  // that its kMandarin lacks, in MandarinReadings::fieldNames order, each once.
  CodePointStrings mandarinExtras;

  // The place of a held code point in codePoints, or -1.
  long placeOf(char32_t codePoint) const noexcept;
  char32_t sortsAsOf(char32_t codePoint) const noexcept;

  // A code point past U+10FFFF, which no text holds, weighs as one past it:
  // the weight keeps its 24 bits.
  static std::uint32_t noValueWeight(char32_t codePoint) noexcept {
    return kNoValueWeight | (codePoint > 0x10FFFF ? 0x110000 : codePoint);
  }

  std::uint32_t radicalStrokeWeight(char32_t codePoint) const noexcept {
    const long place = placeOf(codePoint);
    return place < 0 ? noValueWeight(codePoint)
                     : (weights[static_cast<std::size_t>(place)] & kWeightMask);
  }
  // Total strokes (256 for none) above the radical-stroke weight.
  std::uint64_t totalStrokesWeight(char32_t codePoint) const noexcept {
    const long place = placeOf(codePoint);
    const std::uint32_t weight =
        place < 0 ? noValueWeight(codePoint) : weights[static_cast<std::size_t>(place)];
    const std::uint32_t strokes = weight >> 24;
    return (std::uint64_t{strokes == 0 ? 256U : strokes} << 24) | (weight & kWeightMask);
  }

  // The key of a held code point, or nullptr.
  const CharKey* keyOf(char32_t codePoint) const noexcept;
};

// Walks the store behind data->unihan once and fills every table; the
// kMandarin readings gain `mandarin`'s.
void buildIndex(IndexData* data, const kelvorn::RadicalStrokeExtras& extras,
                const kelvorn::MandarinReadings& mandarin);

// Fills data->runs from data->codePoints; false, the runs unspecified, when
// the code points do not ascend strictly or pass U+10FFFF. One pass does
// both, as a saved index's check would cost as much as the filing.
bool fileRuns(IndexData* data);

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_INDEXDATA_H
