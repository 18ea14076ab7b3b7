// Core tables: a store's arrays laid out as the store holds them in memory,
// so that a store opens from them by checking them once and pointing at
// them, with no record decoded. They are written from a store loaded from a
// binary image, and name that image by its size and CRC-32, so that whatever
// is paired with the image can be paired with them without reading it.
//
//   tables   = header (176 bytes), then seven sections, each at the offset
//              and of the length the header gives: offsets multiples of 8,
//              in this order, none overlapping the header or another
//   header   = magic (16 bytes) formatVersion:u32 byteOrder:u32
//              imageSize:u64 imageCrc:u32 versionMajor:u16 versionMinor:u16
//              sourcePref:6 x i32, then seven {offset:u64 length:u64}
//   blocks   = one BlockEntry per block, in the store's order (32 bytes):
//              first:i32 last:i32 then, for its character records, reading
//              refs and HanYu records in turn, the index of its first one in
//              that section and how many it has (u32 each)
//   chars    = CharRec records (store/records.h), 16 bytes each
//   readings = ReadingRef values, u32 each (store/ReadingSet.h)
//   hanyu    = HanYuRecord records, 5 bytes each
//   spill    = the spill arena (store/records.h, CharRec)
//   arena    = the reading arena (store/ReadingSet.h)
//   cids     = the CID table: kCidTableSize u32 code points
//
// Every number is in the byte order of the machine that wrote the tables;
// byteOrder holds kByteOrderMark as written, so a machine of the other order
// refuses them rather than swap them. A store opened from tables is a valid
// store of the version, source preference and CID table they hold.
#ifndef KELVORN_STORE_TABLESFORMAT_H
#define KELVORN_STORE_TABLESFORMAT_H

#include <cstddef>
#include <cstdint>

namespace kelvorn_private {
namespace tables {

constexpr char kMagic[16] = {'K', 'V', 'U', 'N', 'I', 'H', 'A', 'N', '-', 'T', 'A', 'B', 'L', 'E', 'S', '\n'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::uint32_t kByteOrderMark = 0x01020304;
constexpr std::size_t kAlignment = 8;

enum Section : std::size_t { kBlocks, kChars, kReadings, kHanyu, kSpill, kArena, kCids, kSectionCount };

struct SectionEntry {
  std::uint64_t offset;
  std::uint64_t length;
};

struct Header {
  char magic[sizeof kMagic];
  std::uint32_t formatVersion;
  std::uint32_t byteOrder;
  std::uint64_t imageSize;
  std::uint32_t imageCrc;
  std::uint16_t versionMajor;
  std::uint16_t versionMinor;
  std::int32_t sourcePref[6];
  SectionEntry sections[kSectionCount];
};
static_assert(sizeof(Header) == 176 && offsetof(Header, sections) == 64, "the header is packed");

struct BlockEntry {
  std::int32_t first;
  std::int32_t last;
  std::uint32_t chars;
  std::uint32_t charCount;
  std::uint32_t readings;
  std::uint32_t readingCount;
  std::uint32_t hanyu;
  std::uint32_t hanyuCount;
};
static_assert(sizeof(BlockEntry) == 32, "block entries are packed");

}  // namespace tables

// The image that tables were written from.
struct TablesImageTag {
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_TABLESFORMAT_H
