// getVantuCID, totalVantuStrokes and the reverse map getUTF32ForCID.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

// The code point's CID entry at the value index; false when there is none.
bool cidEntryAt(const UnihanData& store, int codePoint, int valueIndex, bool needFlag, CidEntry* entry) {
  const CharRec* found = charRecordAt(store, codePoint);
  if (found == nullptr || valueIndex < 0) return false;
  if (needFlag && (found->flags & kFlagCids) == 0) return false;
  const CharView rec = store.charView(*found);
  if (static_cast<std::size_t>(valueIndex) >= rec.cidCount()) return false;
  *entry = rec.cid(static_cast<std::size_t>(valueIndex));
  return true;
}

}  // namespace

int UnihanData::getVantuCID(int codePoint, int valueIndex) const {
  const CharRec* found = charRecordAt(*this, codePoint);
  // Most records have no CID, which the count in the record says exactly.
  if (found == nullptr || valueIndex < 0 || found->cidCount == 0) return -1;
  const CharView rec = charView(*found);
  if (static_cast<std::size_t>(valueIndex) >= rec.cidCount()) return -1;
  return image::load16(rec.cidBytes() + static_cast<std::size_t>(valueIndex) * kCidEntryBytes + image::cidEntry::kCid,
                       false);
}

int UnihanData::totalVantuStrokes(int codePoint, int valueIndex) const {
  CidEntry entry;
  return cidEntryAt(*this, codePoint, valueIndex, true, &entry)
             ? entry.radicalStrokes + entry.residualStrokes
             : -1;
}

int UnihanData::getUTF32ForCID(std::uint32_t cid) const {
  if (cid == kFoldedCid) cid = kFirstTableCid;
  const std::uint32_t slot = cid - kFirstTableCid;  // CIDs below wrap past the end
  if (slot >= kCidTableSize) return -1;
  return static_cast<int>(cidEntry(slot));
}

}  // namespace kelvorn_private
