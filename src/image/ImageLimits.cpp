#include "image/ImageFormat.h"
#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

bool fitsStrings(const std::vector<std::string>& list) {
  if (list.size() > kMaxRecordListLength) return false;
  for (const std::string& s : list) {
    if (s.size() > kMaxStringLength) return false;
  }
  return true;
}

bool fitsBlock(const UnihanBlock& block) {
  if (block.chars.size() > kMaxBlockListLength ||
      block.readings.size() > kMaxBlockListLength ||
      block.hanyu.size() > kMaxBlockListLength) {
    return false;
  }
  for (const UnihanCharRec& rec : block.chars) {
    if (rec.rs.size() > kMaxRecordListLength || rec.cids.size() > kMaxRecordListLength) {
      return false;
    }
  }
  for (const ReadingSet& set : block.readings) {
    if (!fitsStrings(set.pinlu) || !fitsStrings(set.kun) || !fitsStrings(set.on) ||
        !fitsStrings(set.mandarin)) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool fitsImageFormat(const UnihanData& store) {
  if (store.blocks.size() > kMaxBlocks) return false;
  for (const UnihanBlock& block : store.blocks) {
    if (!fitsBlock(block)) return false;
  }
  return true;
}

}  // namespace kelvorn_private
