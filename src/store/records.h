// The store's records. Each is a plain structure held by value, so that a
// code point's data is reached with one index operation once its block is
// found.
#ifndef KELVORN_STORE_RECORDS_H
#define KELVORN_STORE_RECORDS_H

#include <cstdint>
#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"
#include "store/InlineList.h"

namespace kelvorn_private {

// Presence flags of a UnihanCharRec. Bits 0 to 4 say which radical-stroke
// sources 0 to 4 have a pair in `rs`; the pairs stand in source order, and a
// second kRSUnicode value, when present, is always the last pair.
enum CharFlag : std::uint8_t {
  kFlagCids = 1u << 5,
  kFlagSecondUnicode = 1u << 7,
};
constexpr int kPairSources = 5;  // sources 0 to 4 keep their values in `rs`

// One radical-stroke value: radical number and residual stroke count.
struct RadStrokePair {
  std::uint8_t radical = 0;
  std::uint8_t residual = 0;
};

// One kRSVantu_Japan1_6 value. The C/V mark of the text form is not kept.
struct CidEntry {
  std::uint8_t radical = 0;
  std::uint8_t radicalStrokes = 0;  // strokes of the radical as drawn here
  std::uint8_t residualStrokes = 0;
  std::uint16_t cid = 0;
};

// Radical-stroke, stroke-count and CID data of one code point.
struct UnihanCharRec {
  std::uint8_t totalStrokes = 0;
  std::uint8_t flags = 0;
  InlineList<RadStrokePair, 4> rs;
  InlineList<CidEntry, 1> cids;
};

// The reading strings of one code point, as the input's bytes.
struct ReadingSet {
  std::vector<std::string> pinlu;     // kHanyuPinlu
  std::vector<std::string> kun;       // kJapaneseKun
  std::vector<std::string> on;        // kJapaneseOn
  std::vector<std::string> mandarin;  // kMandarin

  // The list of a reading property, or null for any other property.
  const std::vector<std::string>* list(int prop) const {
    switch (prop) {
      case kelvorn::kHanyuPinlu: return &pinlu;
      case kelvorn::kJapaneseKun: return &kun;
      case kelvorn::kJapaneseOn: return &on;
      case kelvorn::kMandarin: return &mandarin;
      default: return nullptr;
    }
  }
  std::vector<std::string>* list(int prop) {
    return const_cast<std::vector<std::string>*>(static_cast<const ReadingSet*>(this)->list(prop));
  }
};

// Position of a code point in the HanYu Da Zidian.
struct HanYuRef {
  std::uint8_t volume = 0;
  std::uint16_t page = 0;
  std::uint8_t position = 0;
  std::uint8_t virtualFlag = 0;
};

// A range of code points; element i of each list describes `first` + i. The
// lists may be shorter than the range.
struct UnihanBlock {
  std::int32_t first = -1;
  std::int32_t last = -1;
  std::vector<UnihanCharRec> chars;
  std::vector<ReadingSet> readings;
  std::vector<HanYuRef> hanyu;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_RECORDS_H
