// The store's records. A code point's data is reached with one index
// operation once its block is found, and a record is 16 bytes, so a query
// touches one cache line of it.
#ifndef KELVORN_STORE_RECORDS_H
#define KELVORN_STORE_RECORDS_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/ImageFormat.h"
#include "kelvorn/UnihanMgr.h"
#include "store/StoreArray.h"

namespace kelvorn_private {

// Presence flags of a character record. Bit s (s = 0 to 4) says that source
// s has a pair; the pairs stand in source order, and a second kRSUnicode
// value, when present, is always the last pair.
enum CharFlag : std::uint8_t {
  kFlagCids = 1u << 5,
  kFlagSecondUnicode = 1u << 7,
};
constexpr int kPairSources = 5;  // sources 0 to 4 keep their values as pairs
constexpr int kSourceCount = 6;  // radical-stroke sources 0 to 5
// The CID flag is the flag of the source whose values are the CID entries;
// the preference walk tests it like any other source's bit.
static_assert(kFlagCids == 1u << kelvorn::kRSVantu_Japan1_6, "CID flag is source 5's bit");
static_assert(kelvorn::kRSUnicode == 0 && kelvorn::kRSJapanese == kPairSources - 1,
              "the pair sources are 0 to 4");

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

// Position of a code point in the HanYu Da Zidian.
struct HanYuRef {
  std::uint8_t volume = 0;
  std::uint16_t page = 0;
  std::uint8_t position = 0;
  std::uint8_t virtualFlag = 0;
};

// A HanYu position is kept as the image's five bytes (the page
// little-endian), so a load copies a block's positions at once.
struct HanYuRecord {
  std::uint8_t bytes[image::hanyu::kSize] = {};

  HanYuRef decode() const {
    HanYuRef ref;
    ref.volume = bytes[image::hanyu::kVolume];
    ref.page = image::load16(bytes + image::hanyu::kPage, false);
    ref.position = bytes[image::hanyu::kPosition];
    ref.virtualFlag = bytes[image::hanyu::kVirtualFlag];
    return ref;
  }
  static HanYuRecord encode(const HanYuRef& ref) {
    HanYuRecord r;
    r.bytes[image::hanyu::kVolume] = ref.volume;
    r.bytes[image::hanyu::kPage] = static_cast<std::uint8_t>(ref.page);
    r.bytes[image::hanyu::kPage + 1] = static_cast<std::uint8_t>(ref.page >> 8);
    r.bytes[image::hanyu::kPosition] = ref.position;
    r.bytes[image::hanyu::kVirtualFlag] = ref.virtualFlag;
    return r;
  }
};
static_assert(sizeof(HanYuRecord) == image::hanyu::kSize, "records are packed as in the image");

// Pairs and CID entries are kept as bytes in the image's own layout (the CID
// little-endian), so a load copies them and a write copies them back.
constexpr std::size_t kPairBytes = image::pair::kSize;
constexpr std::size_t kCidEntryBytes = image::cidEntry::kSize;

inline RadStrokePair decodePair(const std::uint8_t* p) {
  return {p[image::pair::kRadical], p[image::pair::kResidual]};
}

inline void encodeCidEntry(const CidEntry& e, std::uint8_t* p) {
  p[image::cidEntry::kCid] = static_cast<std::uint8_t>(e.cid);
  p[image::cidEntry::kCid + 1] = static_cast<std::uint8_t>(e.cid >> 8);
  p[image::cidEntry::kRadical] = e.radical;
  p[image::cidEntry::kRadicalStrokes] = e.radicalStrokes;
  p[image::cidEntry::kResidualStrokes] = e.residualStrokes;
}

inline CidEntry decodeCidEntry(const std::uint8_t* p) {
  CidEntry e;
  e.cid = image::load16(p + image::cidEntry::kCid, false);
  e.radical = p[image::cidEntry::kRadical];
  e.radicalStrokes = p[image::cidEntry::kRadicalStrokes];
  e.residualStrokes = p[image::cidEntry::kResidualStrokes];
  return e;
}

// Radical-stroke, stroke-count and CID data of one code point. The pairs and
// CID entries stand in `payload` when they fit in it (nearly every record of
// the Unihan data); otherwise they spill into the store's spill arena, where
// `payload` holds their offset and the arena holds both full counts first.
// The counts here saturate at 255, which is always a spilled size.
struct CharRec {
  static constexpr std::size_t kInlineBytes = 12;

  std::uint8_t totalStrokes = 0;
  std::uint8_t flags = 0;
  std::uint8_t pairCount = 0;
  std::uint8_t cidCount = 0;
  std::uint8_t payload[kInlineBytes] = {};

  static bool fitsInline(std::size_t pairs, std::size_t cids) {
    return pairs * kPairBytes + cids * kCidEntryBytes <= kInlineBytes;
  }
  bool spilled() const { return !fitsInline(pairCount, cidCount); }
  std::uint32_t spillOffset() const {
    std::uint32_t offset;
    std::memcpy(&offset, payload, sizeof offset);
    return offset;
  }
};
static_assert(sizeof(CharRec) == 16, "four records to a cache line");

// A character record with its pairs and CID entries found.
class CharView {
 public:
  CharView(const CharRec& rec, const std::uint8_t* spillArena) : rec_(&rec) {
    if (!rec.spilled()) {
      bytes_ = rec.payload;
      pairCount_ = rec.pairCount;
      cidCount_ = rec.cidCount;
      return;
    }
    const std::uint8_t* spill = spillArena + rec.spillOffset();
    std::memcpy(&pairCount_, spill, sizeof pairCount_);
    std::memcpy(&cidCount_, spill + sizeof pairCount_, sizeof cidCount_);
    bytes_ = spill + sizeof pairCount_ + sizeof cidCount_;
  }

  std::uint8_t totalStrokes() const { return rec_->totalStrokes; }
  std::uint8_t flags() const { return rec_->flags; }
  std::size_t pairCount() const { return pairCount_; }
  std::size_t cidCount() const { return cidCount_; }
  RadStrokePair pair(std::size_t i) const { return decodePair(pairBytes() + i * kPairBytes); }
  CidEntry cid(std::size_t i) const { return decodeCidEntry(cidBytes() + i * kCidEntryBytes); }
  const std::uint8_t* pairBytes() const { return bytes_; }
  const std::uint8_t* cidBytes() const { return bytes_ + pairCount_ * kPairBytes; }

 private:
  const CharRec* rec_;
  const std::uint8_t* bytes_;
  std::uint32_t pairCount_;
  std::uint32_t cidCount_;
};

// Where a code point's reading set lies in the store's reading arena.
using ReadingRef = std::uint32_t;

// A range of code points; element i of each list describes `first` + i. The
// lists may be shorter than the range, and of different lengths when an
// image says so.
struct UnihanBlock {
  std::int32_t first = -1;
  std::int32_t last = -1;
  StoreArray<CharRec> chars;
  StoreArray<ReadingRef> readings;
  StoreArray<HanYuRecord> hanyu;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_RECORDS_H
