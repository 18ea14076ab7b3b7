// getVantuCID, totalVantuStrokes and the reverse map getUTF32ForCID.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

// The bytes of the code point's CID entry at the value index, or null when
// there is none or, with `needFlag`, when the record's CID flag is clear.
const std::uint8_t* cidEntryAt(const UnihanData& store, int codePoint, int valueIndex, bool needFlag) {
  const CharRec* found = store.charFor(codePoint);
  // Most records have no CID, which the count in the record says exactly.
  if (found == nullptr || valueIndex < 0 || found->cidCount == 0) return nullptr;
  if (needFlag && (found->flags & kFlagCids) == 0) return nullptr;
  const CharView rec = store.charView(*found);
  if (static_cast<std::size_t>(valueIndex) >= rec.cidCount()) return nullptr;
  return rec.cidBytes() + static_cast<std::size_t>(valueIndex) * kCidEntryBytes;
}

}  // namespace

int UnihanData::getVantuCID(int codePoint, int valueIndex) const {
  const std::uint8_t* entry = cidEntryAt(*this, codePoint, valueIndex, false);
  return entry == nullptr ? -1 : image::load16(entry + image::cidEntry::kCid, false);
}

int UnihanData::totalVantuStrokes(int codePoint, int valueIndex) const {
  const std::uint8_t* entry = cidEntryAt(*this, codePoint, valueIndex, true);
  return entry == nullptr ? -1 : entry[image::cidEntry::kRadicalStrokes] + entry[image::cidEntry::kResidualStrokes];
}

int UnihanData::getUTF32ForCID(std::uint32_t cid) const {
  if (cid == kFoldedCid) cid = kFirstTableCid;
  const std::uint32_t slot = cid - kFirstTableCid;  // CIDs below wrap past the end
  if (slot >= kCidTableSize) return -1;
  return static_cast<int>(cidEntry(slot));
}

}  // namespace kelvorn_private
