// The data store behind every UnihanMgr handle.
#ifndef KELVORN_STORE_UNIHANDATA_H
#define KELVORN_STORE_UNIHANDATA_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/UnihanFieldNames.h"
#include "kelvorn/UnihanMgr.h"
#include "store/ReadingSet.h"
#include "store/SegmentIndex.h"
#include "store/TablesFormat.h"
#include "store/records.h"

namespace kelvorn_private {

// Base of reference-counted objects. Handles of one store are copied and
// dropped from many threads at once (every Unihan::core() is a copy), so the
// count is atomic.
class RefCountObj {
 public:
  RefCountObj() = default;
  RefCountObj(const RefCountObj&) = delete;
  RefCountObj& operator=(const RefCountObj&) = delete;
  virtual ~RefCountObj();

  std::atomic<std::uint32_t> refCount{0};
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

constexpr int kPropCount = static_cast<int>(kelvorn::kFieldNames.size());  // fields the library knows

// The version a store has until an image gives it another.
constexpr std::uint16_t kDefaultVersionMajor = 1;
constexpr std::uint16_t kDefaultVersionMinor = 4;

class BlockLoad;

class UnihanData final : public RefCountObj {
 public:
  UnihanData();
  ~UnihanData() override;

  // Loaders and the writer.
  int readUnihan(const char* path);
  int readUnihanBinary(const char* path);
  int readUnihanBinaryBuf(const char* buf, unsigned int len);
  int write(const char* path, int mode) const;

  // The same in memory, for the library's own application layer (see
  // store/HandleAccess.h); the file forms above read and write through
  // them, or through the same decoder. readUnihanText appends the blocks of
  // Unihan text as readUnihan does a file's; imageBytes sets *out to the
  // binary image, or answers false for a store the format cannot carry;
  // dumpBytes answers the text dump.
  void readUnihanText(std::string_view text);
  bool imageBytes(std::string* out) const;
  std::string dumpBytes() const;

  // Core tables (store/TablesFormat.h), for the same layer. tablesBytes
  // answers the tables of this store, naming the image it was loaded from
  // by `tag`. openTables makes the store answer from tables in memory,
  // which `keepAlive` holds for as long as the store lends from them; it
  // answers why tables are refused, leaving the store as it was, or an
  // empty string, and sets *tag to the image they name.
  std::string tablesBytes(const TablesImageTag& tag) const;
  std::string openTables(const std::uint8_t* bytes, std::size_t length, std::shared_ptr<const void> keepAlive,
                         TablesImageTag* tag);

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

  bool valid() const { return valid_; }
  std::uint16_t versionMajor() const { return versionMajor_; }
  std::uint16_t versionMinor() const { return versionMinor_; }
  const std::vector<UnihanBlock>& blocks() const { return blocks_; }

  // The segment of the block that answers for the code point (the first
  // enclosing one in list order), or null.
  const SegmentIndex::Segment* segmentFor(std::int32_t codePoint) const { return index_.find(codePoint); }

  // The code point's character record, or null when the block that answers
  // for it has none at its index or no block encloses it.
  const CharRec* charFor(std::int32_t codePoint) const {
    const SegmentIndex::Segment* segment = index_.find(codePoint);
    if (segment == nullptr) return nullptr;
    const std::uint32_t index = static_cast<std::uint32_t>(codePoint) - static_cast<std::uint32_t>(segment->blockFirst);
    return index < segment->charCount ? segment->chars + index : nullptr;
  }

  CharView charView(const CharRec& rec) const { return CharView(rec, spill_.data()); }
  ReadingSetView readingSet(ReadingRef ref) const { return ReadingSetView(readings_.data(), ref); }

  // For a record's flag bits 0 to 5: where the first value of the first
  // preferred source whose bit is set lies, in a form that needs no branch
  // on which source it is. The value's radical is byte
  // `firstByte + (pairCount & cidMask) * kPairBytes` of the payload (a CID
  // entry follows all the pairs), and it is there when the record's
  // (pairCount & pairMask) | (cidCount & cidMask) exceeds `minCount`. When
  // no preferred bit is set the masks are zero, so the value is never there.
  struct Preferred {
    std::uint8_t firstByte;
    std::uint8_t pairMask;
    std::uint8_t cidMask;
    std::uint8_t minCount;
  };
  Preferred preferredFor(std::uint8_t flags) const { return preferred_[flags & 0x3F]; }
  const std::int32_t* sourcePref() const { return sourcePref_; }
  std::uint32_t cidEntry(std::size_t slot) const { return cidTable_ != nullptr ? cidTable_[slot] : kNoCodePoint; }

 private:
  friend class BlockLoad;

  void rebuildPreferred();
  // Gives the store a CID table of its own before a load changes it: a
  // copy of a lent one, or one without entries.
  void ownCidTable();

  std::vector<UnihanBlock> blocks_;
  SegmentIndex index_;
  StoreArray<std::uint8_t> spill_;     // pairs and CID entries that outgrow a record
  StoreArray<std::uint8_t> readings_;  // every reading set, ReadingSet.h's encoding
  std::int32_t sourcePref_[kSourceCount] = {5, 4, 3, 2, 1, 0};
  Preferred preferred_[64] = {};
  // The CID table: null until a load writes an entry (every entry answers
  // "no code point"), then ownCids_, or one lent by tables.
  const std::uint32_t* cidTable_ = nullptr;
  std::unique_ptr<std::uint32_t[]> ownCids_;
  std::shared_ptr<const void> lender_;  // what lent arrays point into
  std::uint16_t versionMajor_ = kDefaultVersionMajor;
  std::uint16_t versionMinor_ = kDefaultVersionMinor;
  bool valid_ = false;
};

// The one way a load changes the store. It appends blocks (text) or replaces
// them all (image), and when it goes, however the load ends, the lookup index
// is rebuilt over the blocks the store then holds.
class BlockLoad {
 public:
  enum class Mode { kAppend, kReplace };

  BlockLoad(UnihanData* store, Mode mode);
  ~BlockLoad();
  BlockLoad(const BlockLoad&) = delete;
  BlockLoad& operator=(const BlockLoad&) = delete;

  void reserveBlocks(std::size_t n) { store_->blocks_.reserve(store_->blocks_.size() + n); }
  // A new empty block at the end of the list; valid until the next call.
  UnihanBlock& addBlock();
  UnihanBlock& addBlock(UnihanBlock&& block);

  // Appends a character record. `payload` holds its pairs, then its CID
  // entries, in the image's little-endian layout; `readable` bytes may be
  // read there, at least as many as the pairs and entries take. The record
  // is filled in place: a copy through the stack would stall on its
  // byte-sized stores.
  void addChar(UnihanBlock* block, std::uint8_t totalStrokes, std::uint8_t flags, std::size_t pairs,
               std::size_t cids, const std::uint8_t* payload, std::size_t readable) {
    CharRec& rec = block->chars.emplace_back();
    rec.totalStrokes = totalStrokes;
    rec.flags = flags;
    rec.pairCount = static_cast<std::uint8_t>(pairs < 0xFF ? pairs : 0xFF);
    rec.cidCount = static_cast<std::uint8_t>(cids < 0xFF ? cids : 0xFF);
    if (rec.spilled()) {
      spill(&rec, pairs, cids, payload);
    } else if (readable >= CharRec::kInlineBytes) {
      std::memcpy(rec.payload, payload, CharRec::kInlineBytes);  // what lies past the values is never read
    } else if (readable > 0) {
      std::memcpy(rec.payload, payload, readable);
    }
  }
  void addReadings(UnihanBlock* block, const ReadingLists& lists) {
    block->readings.push_back(appendReadingSet(&store_->readings_, lists));
  }
  // Appends reading sets in the narrow encoding as they stand; the caller
  // refers to them by readingBytes() taken before.
  std::size_t readingBytes() const { return store_->readings_.size(); }
  void addReadingBytes(const std::uint8_t* bytes, std::size_t n) {
    if (n >= kWideReadingBit - store_->readings_.size()) throw std::bad_alloc();
    store_->readings_.append(bytes, bytes + n);
  }
  void reserveReadingBytes(std::size_t n) {
    store_->readings_.reserve(store_->readings_.size() + n);
  }

  // Records that the code point holds the CID, when the CID has an entry.
  void mapCid(std::uint32_t cid, std::uint32_t codePoint) {
    if (cid == kFoldedCid) cid = kFirstTableCid;
    const std::uint32_t slot = cid - kFirstTableCid;
    if (slot < kCidTableSize) store_->ownCids_[slot] = codePoint;
  }
  void setVersion(std::uint16_t major, std::uint16_t minor) {
    store_->versionMajor_ = major;
    store_->versionMinor_ = minor;
  }
  void markValid() { store_->valid_ = true; }

 private:
  void spill(CharRec* rec, std::size_t pairs, std::size_t cids, const std::uint8_t* payload);

  UnihanData* store_;
};

// Whether `bytes` more values, after their two 32-bit counts, still end
// within 4 GiB of the spill arena's start, where a record's 32-bit offset
// reaches; past it the offsets would wrap.
constexpr bool spillFits(std::size_t arenaSize, std::size_t bytes) {
  return arenaSize <= UINT32_MAX - bytes - 8;
}

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_UNIHANDATA_H
