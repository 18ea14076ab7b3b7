#include "image/ImageFormat.h"
#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

bool fitsReadings(const ReadingSetView& set) {
  bool fits = true;
  for (int list = 0; list < kReadingLists; ++list) {
    if (set.count(list) > image::kMaxRecordListLength) return false;
    set.forEach(list, [&fits](std::string_view s) { fits = fits && s.size() <= image::string::kMaxLength; });
  }
  return fits;
}

bool fitsBlock(const UnihanData& store, const UnihanBlock& block) {
  if (block.chars.size() > image::kMaxBlockListLength ||
      block.readings.size() > image::kMaxBlockListLength ||
      block.hanyu.size() > image::kMaxBlockListLength) {
    return false;
  }
  for (const CharRec& rec : block.chars) {
    const CharView view = store.charView(rec);
    if (view.pairCount() > image::kMaxRecordListLength || view.cidCount() > image::kMaxRecordListLength) {
      return false;
    }
  }
  for (const ReadingRef ref : block.readings) {
    if (!fitsReadings(store.readingSet(ref))) return false;
  }
  return true;
}

}  // namespace

bool fitsImageFormat(const UnihanData& store) {
  if (store.blocks().size() > image::kMaxBlocks) return false;
  for (const UnihanBlock& block : store.blocks()) {
    if (!fitsBlock(store, block)) return false;
  }
  return true;
}

}  // namespace kelvorn_private
