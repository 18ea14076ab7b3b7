// One code point's records, found by one search of the blocks. Each of the
// core's exported queries reads one value from them; kelvorn::Unihan reads
// every value an answer needs from one Record, so an answer costs one search
// however many values it takes.
#ifndef KELVORN_QUERY_RECORDACCESS_H
#define KELVORN_QUERY_RECORDACCESS_H

#include <string>
#include <vector>

#include "store/UnihanData.h"

namespace kelvorn_private {

// Which byte of a pair or CID entry a query answers with: the radical, or
// the stroke count (the residual of a pair, the radical form's strokes of a
// kRSVantu_Japan1_6 value).
enum Want : std::size_t { kRadical = 0, kStroke = 1 };
static_assert(image::pair::kResidual == image::pair::kRadical + kStroke &&
                  image::cidEntry::kRadicalStrokes == image::cidEntry::kRadical + kStroke,
              "the stroke byte follows the radical byte");

// Set bits among flag bits 0 to 3, the sources below source 4. A table,
// because without a popcount instruction the builtin becomes a library call.
constexpr std::uint8_t kLowerSources[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// One value of source s at value index k, or -1: what radix and stroke by
// source answer.
inline int extract(const CharView& rec, int source, int valueIndex, Want want) {
  if (source < 0 || source >= kSourceCount || (rec.flags() & (1u << source)) == 0) return -1;
  if (source == kelvorn::kRSVantu_Japan1_6) {
    if (valueIndex < 0 || static_cast<std::size_t>(valueIndex) >= rec.cidCount()) return -1;
    return rec.cidBytes()[static_cast<std::size_t>(valueIndex) * kCidEntryBytes + image::cidEntry::kRadical + want];
  }
  // The pair of source s follows one pair for each lower source present.
  std::size_t pos = kLowerSources[rec.flags() & ((1u << source) - 1)];
  if (source == kelvorn::kRSUnicode && valueIndex == 1) {
    if ((rec.flags() & kFlagSecondUnicode) == 0 || rec.pairCount() == 0) return -1;
    pos = rec.pairCount() - 1;
  }
  if (pos >= rec.pairCount()) return -1;
  return rec.pairBytes()[pos * kPairBytes + image::pair::kRadical + want];
}

class Record {
 public:
  // No code point's records: every query answers as for one no block holds.
  explicit Record(const UnihanData& store) : store_(&store) {}
  Record(const UnihanData& store, std::int32_t codePoint) : store_(&store) {
    const SegmentIndex::Segment* segment = store.segmentFor(codePoint);
    if (segment == nullptr) return;
    block_ = segment->block;
    index_ = static_cast<std::uint32_t>(codePoint) - static_cast<std::uint32_t>(segment->blockFirst);
  }

  // Whether a block encloses the code point; its lists may still end
  // before it.
  bool held() const { return block_ != nullptr; }

  // The character record, or null.
  const CharRec* charRec() const {
    return block_ != nullptr && index_ < block_->chars.size() ? &block_->chars[index_] : nullptr;
  }

  // radix and stroke by source.
  int value(int source, int valueIndex, Want want) const {
    const CharRec* rec = charRec();
    return rec == nullptr ? -1 : extract(store_->charView(*rec), source, valueIndex, want);
  }

  int totalStrokes() const {
    const CharRec* rec = charRec();
    return rec == nullptr ? -1 : rec->totalStrokes;
  }

  // getVantuCID, and totalVantuStrokes, which asks for the CID flag too.
  int cid(int valueIndex) const {
    const std::uint8_t* entry = cidEntry(valueIndex, false);
    return entry == nullptr ? -1 : image::load16(entry + image::cidEntry::kCid, false);
  }
  int vantuStrokes(int valueIndex) const {
    const std::uint8_t* entry = cidEntry(valueIndex, true);
    return entry == nullptr ? -1 : entry[image::cidEntry::kRadicalStrokes] + entry[image::cidEntry::kResidualStrokes];
  }

  // getNumVals, getPronounceData and getkHanYuData, inline so that each
  // exported query is one function.
  int numVals(int prop) const;
  void readings(int prop, std::vector<std::string>* out) const;
  bool hanYu(HanYuRef* out) const {
    if (block_ == nullptr || index_ >= block_->hanyu.size()) return false;
    *out = block_->hanyu[index_].decode();
    return true;
  }

 private:
  const std::uint8_t* cidEntry(int valueIndex, bool needFlag) const {
    const CharRec* rec = charRec();
    if (rec == nullptr || (needFlag && (rec->flags & kFlagCids) == 0)) return nullptr;
    const CharView view = store_->charView(*rec);
    const auto index = static_cast<std::uint32_t>(valueIndex);  // a negative index is out of range
    return index < view.cidCount() ? view.cidBytes() + std::size_t{index} * kCidEntryBytes : nullptr;
  }

  const UnihanData* store_;
  const UnihanBlock* block_ = nullptr;
  std::uint32_t index_ = 0;
};

inline int Record::numVals(int prop) const {
  if (block_ == nullptr) return -1;
  const int list = readingListOf(prop);
  if (list >= 0) {
    if (index_ >= block_->readings.size()) return 0;
    return static_cast<int>(store_->readingSet(block_->readings[index_]).count(list));
  }
  const CharRec* rec = charRec();
  if (rec == nullptr) return 0;
  switch (prop) {
    case kelvorn::kRSUnicode: return (rec->flags & kFlagSecondUnicode) != 0 ? 2 : 0;
    case kelvorn::kRSVantu_Japan1_6: return static_cast<int>(store_->charView(*rec).cidCount());
    default: return 0;
  }
}

inline void Record::readings(int prop, std::vector<std::string>* out) const {
  const int list = readingListOf(prop);
  if (charRec() == nullptr || list < 0 || index_ >= block_->readings.size()) return;
  store_->readingSet(block_->readings[index_]).forEach(list, [out](std::string_view s) {
    out->emplace_back(s);
  });
}

}  // namespace kelvorn_private

#endif  // KELVORN_QUERY_RECORDACCESS_H
