// Building and rewriting binary images byte by byte, independently of the
// library's own writer.
#ifndef KELVORN_TESTS_IMAGEBYTES_H
#define KELVORN_TESTS_IMAGEBYTES_H

#include <algorithm>
#include <cstdint>
#include <string>

namespace testsupport {

inline const std::string kMagic = "vantu unihan binary";

// The header of a little-endian image with the given block count.
inline std::string imageHeader(std::uint16_t blocks, std::uint16_t major = 1, std::uint16_t minor = 4) {
  std::string h = kMagic;
  h += '\0';
  for (std::uint16_t v : {major, minor, blocks}) {
    h += static_cast<char>(v & 0xFF);
    h += static_cast<char>(v >> 8);
  }
  return h;
}

// Rewrites a well-formed little-endian image with every multi-byte field
// big-endian and the byte-order flag set.
inline std::string toBigEndian(std::string image) {
  std::size_t pos = kMagic.size();
  auto u8 = [&] { return static_cast<unsigned char>(image[pos++]); };
  // Reverses the field at pos and returns the little-endian value it held.
  auto swap = [&](std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(image[pos + i]);
    std::reverse(image.begin() + static_cast<std::ptrdiff_t>(pos),
                 image.begin() + static_cast<std::ptrdiff_t>(pos + width));
    pos += width;
    return value;
  };
  image[pos++] = 1;
  swap(2);
  swap(2);
  const std::uint32_t blocks = swap(2);
  for (std::uint32_t b = 0; b < blocks; ++b) {
    swap(4);
    swap(4);
    const std::uint32_t chars = swap(2), sets = swap(2), hanyu = swap(2);
    for (std::uint32_t i = 0; i < chars; ++i) {
      pos += 2;
      const unsigned pairs = u8(), cids = u8();
      pos += 2 * pairs;
      for (unsigned k = 0; k < cids; ++k) {
        swap(2);
        pos += 3;
      }
    }
    for (std::uint32_t i = 0; i < sets; ++i) {
      const unsigned total = u8() + u8() + u8() + u8();
      for (unsigned k = 0; k < total; ++k) pos += u8();
    }
    for (std::uint32_t i = 0; i < hanyu; ++i) {
      pos += 1;
      swap(2);
      pos += 2;
    }
  }
  return image;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_IMAGEBYTES_H
