// Constants of the binary image format and the checks that keep a store
// within it.
#ifndef KELVORN_IMAGE_IMAGEFORMAT_H
#define KELVORN_IMAGE_IMAGEFORMAT_H

#include <cstddef>
#include <cstdint>

namespace kelvorn_private {

class UnihanData;

constexpr char kImageMagic[] = "vantu unihan binary";
constexpr std::size_t kMagicLength = sizeof(kImageMagic) - 1;  // 19, no terminator
constexpr std::size_t kHeaderLength = 26;  // magic, byte order, version pair, block count
constexpr std::size_t kHeaderRestLength = kHeaderLength - kMagicLength;
constexpr std::uint8_t kBigEndianFlag = 0x01;

// Fixed sizes of the records, used to bound how many of them a buffer of a
// given size can hold.
constexpr std::size_t kBlockRecordLength = 14;
constexpr std::size_t kCharRecordMinLength = 4;
constexpr std::size_t kReadingRecordMinLength = 4;
constexpr std::size_t kHanYuRecordLength = 5;
constexpr std::size_t kPairLength = 2;
constexpr std::size_t kCidEntryLength = 5;

// Largest sizes that the count fields can carry.
constexpr std::size_t kMaxBlocks = 32767;         // the block count is signed 16-bit
constexpr std::size_t kMaxBlockListLength = 65535;
constexpr std::size_t kMaxRecordListLength = 255;  // pairs, CID entries, strings of a list
constexpr std::size_t kMaxStringLength = 63;

// True when every count and string of the store fits its field, so that the
// image written from it reads back as the same store.
bool fitsImageFormat(const UnihanData& store);

}  // namespace kelvorn_private

#endif  // KELVORN_IMAGE_IMAGEFORMAT_H
