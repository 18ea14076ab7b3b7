// getVantuCID, totalVantuStrokes and the reverse map getUTF32ForCID.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

// A CID entry's bytes, which are always readable, and whether the entry
// exists: a caller reads the bytes and then selects its answer.
struct EntryRef {
  const std::uint8_t* bytes;
  bool present;
};

constexpr std::uint8_t kNoEntry[kCidEntryBytes] = {};

// The code point's CID entry at the value index; with `needFlag`, absent
// when the record's CID flag is clear.
//
// Only one code point in seven has a CID, in no order a branch predictor can
// follow, so for a record that keeps its entries inline the entry is picked
// without branching on whether it exists: a missing one reads the record's
// first payload bytes, which the caller's select then drops.
EntryRef cidEntryAt(const UnihanData& store, int codePoint, int valueIndex, bool needFlag) {
  const CharRec* found = store.charFor(codePoint);
  if (found == nullptr) return {kNoEntry, false};
  const auto index = static_cast<std::uint32_t>(valueIndex);  // a negative index is out of range
  if (!found->spilled()) {
    // Masks rather than conditions, which the compiler would turn back into
    // the branch this avoids.
    const bool flagOk = !needFlag || (found->flags & kFlagCids) != 0;
    const auto present = static_cast<std::size_t>(index < found->cidCount) & static_cast<std::size_t>(flagOk);
    const std::size_t at = (found->pairCount * kPairBytes + std::size_t{index} * kCidEntryBytes) & (0 - present);
    return {found->payload + at, present != 0};
  }
  if (needFlag && (found->flags & kFlagCids) == 0) return {kNoEntry, false};
  const CharView rec = store.charView(*found);
  if (index >= rec.cidCount()) return {kNoEntry, false};
  return {rec.cidBytes() + std::size_t{index} * kCidEntryBytes, true};
}

}  // namespace

int UnihanData::getVantuCID(int codePoint, int valueIndex) const {
  const EntryRef entry = cidEntryAt(*this, codePoint, valueIndex, false);
  const int cid = image::load16(entry.bytes + image::cidEntry::kCid, false);
  return entry.present ? cid : -1;
}

int UnihanData::totalVantuStrokes(int codePoint, int valueIndex) const {
  const EntryRef entry = cidEntryAt(*this, codePoint, valueIndex, true);
  const int strokes = entry.bytes[image::cidEntry::kRadicalStrokes] + entry.bytes[image::cidEntry::kResidualStrokes];
  return entry.present ? strokes : -1;
}

int UnihanData::getUTF32ForCID(std::uint32_t cid) const {
  if (cid == kFoldedCid) cid = kFirstTableCid;
  const std::uint32_t slot = cid - kFirstTableCid;  // CIDs below wrap past the end
  if (slot >= kCidTableSize) return -1;
  return static_cast<int>(cidEntry(slot));
}

}  // namespace kelvorn_private
