#include "store/UnihanData.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace kelvorn_private {

RefCountObj::~RefCountObj() = default;

// A new reference comes from one already held, so taking it orders nothing.
// The last release must see every write the other holders made before they
// let go, hence acquire-release on the way down.
void retain(RefCountObj* obj) { obj->refCount.fetch_add(1, std::memory_order_relaxed); }

void release(RefCountObj* obj) {
  if (obj->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete obj;
}

UnihanData::UnihanData() : readings_(kEmptyReadingBytes, 0) { rebuildPreferred(); }

UnihanData::~UnihanData() = default;

void UnihanData::setRadixStrokeSourcePref(const kelvorn::unihanPropT* pref) {
  for (int i = 0; i < kSourceCount; ++i) sourcePref_[i] = pref[i];
  rebuildPreferred();
}

// A pair source's first value is its pair, after one pair for each set bit
// below it; a kRSVantu_Japan1_6 value is the first CID entry, after all the
// pairs.
void UnihanData::rebuildPreferred() {
  for (unsigned flags = 0; flags < 64; ++flags) {
    Preferred winner{0, 0, 0, 0};
    for (const std::int32_t source : sourcePref_) {
      if (source < 0 || source >= kSourceCount || (flags & (1u << source)) == 0) continue;
      if (source == kelvorn::kRSVantu_Japan1_6) {
        winner.firstByte = image::cidEntry::kRadical;
        winner.cidMask = 0xFF;
      } else {
        unsigned below = 0;
        for (int s = 0; s < source; ++s) below += (flags >> s) & 1u;
        winner.firstByte = static_cast<std::uint8_t>(below * kPairBytes + image::pair::kRadical);
        winner.pairMask = 0xFF;
        winner.minCount = static_cast<std::uint8_t>(below);
      }
      break;
    }
    preferred_[flags] = winner;
  }
}

// An entry that no load has written answers "no code point", which
// getUTF32ForCID reports as -1.
void UnihanData::ownCidTable() {
  if (cidTable_ != nullptr && cidTable_ == ownCids_.get()) return;
  std::unique_ptr<std::uint32_t[]> own(new std::uint32_t[kCidTableSize]);  // every entry is written next
  if (cidTable_ != nullptr) {
    std::memcpy(own.get(), cidTable_, kCidTableSize * sizeof *cidTable_);
  } else {
    std::fill(own.get(), own.get() + kCidTableSize, kNoCodePoint);
  }
  ownCids_ = std::move(own);
  cidTable_ = ownCids_.get();
}

// A load never changes a block it did not add, so lent blocks stay lent
// while text is appended; the arenas copy lent bytes when first changed.
BlockLoad::BlockLoad(UnihanData* store, Mode mode) : store_(store) {
  store_->ownCidTable();
  if (mode == Mode::kReplace) {
    std::vector<UnihanBlock>().swap(store_->blocks_);
    store_->spill_ = StoreArray<std::uint8_t>();
    store_->readings_.assign(kEmptyReadingBytes, 0);
    store_->readings_.shrink_to_fit();
    store_->lender_.reset();  // nothing points into it any more
  }
}

BlockLoad::~BlockLoad() {
  try {
    store_->index_.build(store_->blocks_);
  } catch (const std::bad_alloc&) {
    // Without memory for the index no block can be found; the store answers
    // as an empty one rather than from a stale index.
    std::vector<UnihanBlock>().swap(store_->blocks_);
    store_->index_ = SegmentIndex();
  }
}

UnihanBlock& BlockLoad::addBlock() {
  store_->blocks_.emplace_back();
  return store_->blocks_.back();
}

UnihanBlock& BlockLoad::addBlock(UnihanBlock&& block) {
  store_->blocks_.push_back(std::move(block));
  return store_->blocks_.back();
}

// The spill arena holds both full counts, then the values.
void BlockLoad::spill(CharRec* rec, std::size_t pairs, std::size_t cids, const std::uint8_t* payload) {
  const std::size_t bytes = pairs * kPairBytes + cids * kCidEntryBytes;
  StoreArray<std::uint8_t>& arena = store_->spill_;
  if (!spillFits(arena.size(), bytes)) throw std::bad_alloc();
  const auto offset = static_cast<std::uint32_t>(arena.size());
  const std::array<std::uint32_t, 2> counts = {static_cast<std::uint32_t>(pairs), static_cast<std::uint32_t>(cids)};
  const auto* countBytes = reinterpret_cast<const std::uint8_t*>(counts.data());
  arena.append(countBytes, countBytes + sizeof counts);
  arena.append(payload, payload + bytes);
  std::memcpy(rec->payload, &offset, sizeof offset);
}

}  // namespace kelvorn_private
