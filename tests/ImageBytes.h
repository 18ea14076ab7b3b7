// Building and rewriting binary images byte by byte, independently of the
// library's own writer but from the same description of the format.
#ifndef KELVORN_TESTS_IMAGEBYTES_H
#define KELVORN_TESTS_IMAGEBYTES_H

#include <algorithm>
#include <cstdint>
#include <string>

#include "image/ImageFormat.h"
#include "kelvorn/UnihanImage.h"
#include "support/LittleEndian.h"

namespace testsupport {

namespace image = kelvorn_private::image;

inline const std::string kMagic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);

// The header of a little-endian image with the given block count.
inline std::string imageHeader(std::uint16_t blocks, std::uint16_t major = 1, std::uint16_t minor = 4) {
  std::string h = kMagic;
  h += '\0';
  for (std::uint16_t v : {major, minor, blocks}) put16(&h, v);
  return h;
}

// Rewrites a well-formed little-endian image with every multi-byte field
// big-endian and the byte-order flag set.
inline std::string toBigEndian(std::string image) {
  auto u8 = [&image](std::size_t at) { return static_cast<unsigned char>(image[at]); };
  // Reverses the field at `at` and returns the little-endian value it held.
  auto swap = [&image](std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(image[at + i]);
    std::reverse(image.begin() + static_cast<std::ptrdiff_t>(at),
                 image.begin() + static_cast<std::ptrdiff_t>(at + width));
    return value;
  };
  image[image::header::kByteOrder] = static_cast<char>(image::header::kBigEndianBit);
  swap(image::header::kVersionMajor, 2);
  swap(image::header::kVersionMinor, 2);
  const std::uint32_t blocks = swap(image::header::kBlockCount, 2);
  std::size_t pos = image::header::kSize;
  for (std::uint32_t b = 0; b < blocks; ++b) {
    swap(pos + image::block::kFirst, 4);
    swap(pos + image::block::kLast, 4);
    const std::uint32_t chars = swap(pos + image::block::kCharCount, 2);
    const std::uint32_t sets = swap(pos + image::block::kReadingCount, 2);
    const std::uint32_t hanyu = swap(pos + image::block::kHanyuCount, 2);
    pos += image::block::kSize;
    for (std::uint32_t i = 0; i < chars; ++i) {
      const unsigned pairs = u8(pos + image::charRecord::kPairCount);
      const unsigned cids = u8(pos + image::charRecord::kCidCount);
      pos += image::charRecord::kSize + pairs * image::pair::kSize;
      for (unsigned k = 0; k < cids; ++k, pos += image::cidEntry::kSize) swap(pos + image::cidEntry::kCid, 2);
    }
    for (std::uint32_t i = 0; i < sets; ++i) {
      unsigned strings = 0;
      for (std::size_t list = 0; list < image::readingRecord::kListCount; ++list) strings += u8(pos + list);
      pos += image::readingRecord::kSize;
      for (unsigned k = 0; k < strings; ++k) pos += image::string::kLengthSize + u8(pos);
    }
    for (std::uint32_t i = 0; i < hanyu; ++i, pos += image::hanyu::kSize) swap(pos + image::hanyu::kPage, 2);
  }
  return image;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_IMAGEBYTES_H
