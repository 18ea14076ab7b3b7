// The binary image format, described once. The reader, the writer, the
// limits check and the tests' image walker take every offset and size from
// here.
//
//   image          = header, then `blockCount` block records
//   header         = magic (19 bytes) byteOrder:u8 versionMajor:u16
//                    versionMinor:u16 blockCount:i16                 26 bytes
//   block record   = first:i32 last:i32 charCount:u16 readingCount:u16
//                    hanyuCount:u16                                  14 bytes
//                    then charCount character records, readingCount
//                    reading records and hanyuCount HanYu records
//   character rec. = totalStrokes:u8 flags:u8 pairCount:u8 cidCount:u8
//                    then pairCount pairs and cidCount CID entries
//   pair           = radical:u8 residual:u8                           2 bytes
//   CID entry      = cid:u16 radical:u8 radicalStrokes:u8
//                    residualStrokes:u8                               5 bytes
//   reading record = four counts:u8 (kHanyuPinlu, kJapaneseKun,
//                    kJapaneseOn, kMandarin), then that many strings
//                    of each list in that order
//   string         = length:u8 (0 to 63), then the bytes; the string held
//                    ends at its first zero byte, all bytes are consumed
//   HanYu record   = volume:u8 page:u16 position:u8 virtualFlag:u8    5 bytes
//
// The i-th record of each of a block's three lists belongs to code point
// first + i. Multi-byte fields are little-endian as written; a reader swaps
// them when bit 0 of byteOrder is set (the other bits mean nothing). There
// is no padding and no checksum.
#ifndef KELVORN_IMAGE_IMAGEFORMAT_H
#define KELVORN_IMAGE_IMAGEFORMAT_H

#include <cstddef>
#include <cstdint>

#include "kelvorn/UnihanImage.h"

namespace kelvorn_private {

class UnihanData;

namespace image {

namespace header {
constexpr std::size_t kByteOrder = kelvorn::kImageMagicLength;  // 19
constexpr std::size_t kVersionMajor = 20;
constexpr std::size_t kVersionMinor = 22;
constexpr std::size_t kBlockCount = 24;
constexpr std::size_t kSize = kelvorn::kImageHeaderLength;
constexpr std::uint8_t kBigEndianBit = 0x01;
static_assert(kByteOrder == 19 && kVersionMajor == kByteOrder + 1 && kSize == kBlockCount + 2,
              "header fields are packed");
}  // namespace header

namespace block {
constexpr std::size_t kFirst = 0;
constexpr std::size_t kLast = 4;
constexpr std::size_t kCharCount = 8;
constexpr std::size_t kReadingCount = 10;
constexpr std::size_t kHanyuCount = 12;
constexpr std::size_t kSize = 14;
}  // namespace block

namespace charRecord {
constexpr std::size_t kTotalStrokes = 0;
constexpr std::size_t kFlags = 1;
constexpr std::size_t kPairCount = 2;
constexpr std::size_t kCidCount = 3;
constexpr std::size_t kSize = 4;  // then the pairs, then the CID entries
}  // namespace charRecord

namespace pair {
constexpr std::size_t kRadical = 0;
constexpr std::size_t kResidual = 1;
constexpr std::size_t kSize = 2;
}  // namespace pair

namespace cidEntry {
constexpr std::size_t kCid = 0;  // first in the file, last in the record
constexpr std::size_t kRadical = 2;
constexpr std::size_t kRadicalStrokes = 3;
constexpr std::size_t kResidualStrokes = 4;
constexpr std::size_t kSize = 5;
}  // namespace cidEntry

namespace readingRecord {
constexpr std::size_t kListCount = 4;  // one count byte per reading list
constexpr std::size_t kSize = kListCount;  // then the strings
}  // namespace readingRecord

namespace string {
constexpr std::size_t kLengthSize = 1;
constexpr std::size_t kMaxLength = 63;
}  // namespace string

namespace hanyu {
constexpr std::size_t kVolume = 0;
constexpr std::size_t kPage = 1;
constexpr std::size_t kPosition = 3;
constexpr std::size_t kVirtualFlag = 4;
constexpr std::size_t kSize = 5;
}  // namespace hanyu

// Largest sizes that the count fields carry.
constexpr std::size_t kMaxBlocks = 32767;  // the block count is signed
constexpr std::size_t kMaxBlockListLength = 65535;
constexpr std::size_t kMaxRecordListLength = 255;  // pairs, CID entries, strings of one list

// Multi-byte fields, in either byte order.
inline std::uint16_t load16(const unsigned char* p, bool bigEndian) {
  return bigEndian ? static_cast<std::uint16_t>(p[0] << 8 | p[1])
                   : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
}

inline std::uint32_t load32(const unsigned char* p, bool bigEndian) {
  const std::uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
  return bigEndian ? b0 << 24 | b1 << 16 | b2 << 8 | b3 : b3 << 24 | b2 << 16 | b1 << 8 | b0;
}

}  // namespace image

// True when every count and string of the store fits its field, so that the
// image written from it reads back as the same store.
bool fitsImageFormat(const UnihanData& store);

}  // namespace kelvorn_private

#endif  // KELVORN_IMAGE_IMAGEFORMAT_H
