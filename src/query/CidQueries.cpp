// getVantuCID, totalVantuStrokes and the reverse map getUTF32ForCID.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

const CidEntry* cidEntryAt(const UnihanData& store, int codePoint, int valueIndex) {
  const UnihanCharRec* rec = charRecordAt(store, codePoint);
  if (rec == nullptr || valueIndex < 0 ||
      static_cast<std::size_t>(valueIndex) >= rec->cids.size()) {
    return nullptr;
  }
  return &rec->cids[static_cast<std::size_t>(valueIndex)];
}

}  // namespace

int UnihanData::getVantuCID(int codePoint, int valueIndex) const {
  const CidEntry* entry = cidEntryAt(*this, codePoint, valueIndex);
  return entry == nullptr ? -1 : entry->cid;
}

int UnihanData::totalVantuStrokes(int codePoint, int valueIndex) const {
  const UnihanCharRec* rec = charRecordAt(*this, codePoint);
  if (rec == nullptr || (rec->flags & kFlagCids) == 0) return -1;
  const CidEntry* entry = cidEntryAt(*this, codePoint, valueIndex);
  return entry == nullptr ? -1 : entry->radicalStrokes + entry->residualStrokes;
}

int UnihanData::getUTF32ForCID(std::uint32_t cid) const {
  if (cid == kFoldedCid) cid = kFirstTableCid;
  const std::uint32_t slot = cid - kFirstTableCid;  // CIDs below wrap past the end
  if (slot >= kCidTableSize) return -1;
  return static_cast<int>(cidToUtf32[slot]);
}

}  // namespace kelvorn_private
