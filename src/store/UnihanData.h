// The data store behind every UnihanMgr handle.
#ifndef KELVORN_STORE_UNIHANDATA_H
#define KELVORN_STORE_UNIHANDATA_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/UnihanMgr.h"
#include "store/BlockIndex.h"
#include "store/records.h"

namespace kelvorn_private {

// Base of reference-counted objects. The count is a plain integer: a store and
// its handles are used by one thread at a time.
class RefCountObj {
 public:
  RefCountObj() = default;
  RefCountObj(const RefCountObj&) = delete;
  RefCountObj& operator=(const RefCountObj&) = delete;
  virtual ~RefCountObj();

  std::uint32_t refCount = 0;
};

// Takes and releases references; the last release deletes the object.
void retain(RefCountObj* obj);
void release(RefCountObj* obj);

// The CID table covers CIDs 1124 to 23057; CID 656 shares the entry of 1124.
constexpr std::uint32_t kFirstTableCid = 1124;
constexpr std::uint32_t kLastTableCid = 23057;
constexpr std::uint32_t kFoldedCid = 656;
constexpr std::size_t kCidTableSize = kLastTableCid - kFirstTableCid + 1;
constexpr std::uint32_t kNoCodePoint = 0xFFFFFFFFu;  // an entry no load wrote

constexpr int kSourceCount = 6;  // radical-stroke sources 0 to 5
constexpr int kPropCount = 12;   // fields the library knows

// The Unihan field names, indexed by unihanPropT. The two Japanese readings
// end in a tab so that the whole-line search matches them only as a field
// name followed by its value separator.
inline constexpr std::string_view kFieldNames[kPropCount] = {
    "kRSUnicode",     "kRSKangXi",     "kRSKanWa",    "kRSKorean",
    "kRSJapanese",    "kRSVantu_Japan1_6", "kTotalStrokes", "kHanyuPinlu",
    "kJapaneseKun\t", "kJapaneseOn\t", "kMandarin",   "kHanYu"};

// Where a code point's records are: its block and its index in the block's
// lists. `block` is null when no block encloses the code point.
struct Location {
  const UnihanBlock* block = nullptr;
  std::uint32_t index = 0;
};

class UnihanData final : public RefCountObj {
 public:
  UnihanData();
  ~UnihanData() override;

  // Loaders and the writer.
  int readUnihan(const char* path);
  int readUnihanBinary(const char* path);
  int readUnihanBinaryBuf(const char* buf, unsigned int len);
  int write(const char* path, int mode) const;

  // Radical and stroke queries.
  void setRadixStrokeSourcePref(const kelvorn::unihanPropT* pref);
  int radix(int codePoint, int source, int valueIndex) const;
  int radix(int codePoint, int valueIndex) const;
  int stroke(int codePoint, int source, int valueIndex) const;
  int stroke(int codePoint, int valueIndex) const;
  int totalStrokes(int codePoint) const;

  // CID queries.
  int getVantuCID(int codePoint, int valueIndex) const;
  int totalVantuStrokes(int codePoint, int valueIndex) const;
  int getUTF32ForCID(std::uint32_t cid) const;

  // Reading and dictionary queries.
  int getNumVals(int codePoint, int prop) const;
  std::vector<std::string>& getPronounceData(std::vector<std::string>& out,
                                             int codePoint, int prop) const;
  int getkHanYuData(std::uint32_t codePoint, int* volume, int* page,
                    int* position, int* virtualFlag) const;

  // The first block that encloses the code point answers for it; later
  // blocks are never consulted, even when that block has no record there.
  Location locate(std::int32_t codePoint) const {
    if (blockIndex.usableFor(blocks)) return locateIndexed(codePoint);
    for (const UnihanBlock& block : blocks) {
      if (block.first <= codePoint && codePoint <= block.last) return at(block, codePoint);
    }
    return {};
  }

  // Brings the block index up to date; every load ends with it, on every
  // path, so that lookups never trust an index of an earlier block list.
  void indexBlocks() noexcept { blockIndex.build(blocks); }

  // Records that the code point holds the CID, when the CID has an entry.
  void mapCid(std::uint32_t cid, std::uint32_t codePoint) {
    if (cid == kFoldedCid) cid = kFirstTableCid;
    const std::uint32_t slot = cid - kFirstTableCid;
    if (slot < kCidTableSize) cidToUtf32[slot] = codePoint;
  }

  std::vector<UnihanBlock> blocks;
  BlockIndex blockIndex;
  std::int32_t sourcePref[kSourceCount] = {5, 4, 3, 2, 1, 0};
  std::uint32_t cidToUtf32[kCidTableSize] = {};
  std::uint16_t versionMajor = 1;
  std::uint16_t versionMinor = 4;
  bool valid = false;

 private:
  static Location at(const UnihanBlock& block, std::int32_t codePoint) {
    return {&block, static_cast<std::uint32_t>(codePoint) - static_cast<std::uint32_t>(block.first)};
  }

  // The blocks are sorted and disjoint here, so the walk from the first
  // block on the code point's page stops at the first block past it.
  Location locateIndexed(std::int32_t codePoint) const {
    if (codePoint < 0 || codePoint >= BlockIndex::kCodeSpace) return {};
    for (std::size_t i = blockIndex.firstBlockOnPage(codePoint); i < blocks.size(); ++i) {
      const UnihanBlock& block = blocks[i];
      if (codePoint < block.first) break;
      if (codePoint <= block.last) return at(block, codePoint);
    }
    return {};
  }
};

// Re-indexes the store's blocks when a load ends, however it ends.
class IndexBlocksOnExit {
 public:
  explicit IndexBlocksOnExit(UnihanData* store) : store_(store) {}
  ~IndexBlocksOnExit() { store_->indexBlocks(); }
  IndexBlocksOnExit(const IndexBlocksOnExit&) = delete;
  IndexBlocksOnExit& operator=(const IndexBlocksOnExit&) = delete;

 private:
  UnihanData* store_;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_UNIHANDATA_H
