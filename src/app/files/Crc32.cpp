#include "app/files/Crc32.h"

#include <array>
#include <cstddef>
#include <string>

namespace kelvorn_files {
namespace {

// Eight tables, so that the loop folds in eight bytes per step: the whole
// database's image is checked in a few milliseconds instead of tens.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

Tables makeTables() {
  Tables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
    t[0][i] = c;
  }
  for (std::size_t k = 1; k < t.size(); ++k) {
    for (std::size_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFU];
  }
  return t;
}

const Tables& tables() {
  static const Tables t = makeTables();
  return t;
}

std::uint32_t byteAt(const unsigned char* p, std::size_t i) { return p[i]; }

}  // namespace

std::uint32_t crc32(std::string_view bytes) noexcept {
  const Tables& t = tables();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  std::uint32_t c = 0xFFFFFFFFU;
  for (; n >= 8; p += 8, n -= 8) {
    const std::uint32_t lo = c ^ (byteAt(p, 0) | byteAt(p, 1) << 8 | byteAt(p, 2) << 16 |
                                  byteAt(p, 3) << 24);
    c = t[7][lo & 0xFFU] ^ t[6][(lo >> 8) & 0xFFU] ^ t[5][(lo >> 16) & 0xFFU] ^ t[4][lo >> 24] ^
        t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
  }
  for (; n > 0; ++p, --n) c = t[0][(c ^ *p) & 0xFFU] ^ (c >> 8);
  return c ^ 0xFFFFFFFFU;
}

std::string sizeAndCrc32(std::string_view bytes) { return sizeAndCrc32(bytes.size(), crc32(bytes)); }

std::string sizeAndCrc32(std::uint64_t size, std::uint32_t crc) {
  std::string hex(8, '0');
  for (std::size_t digit = hex.size(); digit-- > 0; crc >>= 4) hex[digit] = "0123456789abcdef"[crc & 0xFU];
  return std::to_string(size) + " bytes, CRC-32 " + hex;
}

}  // namespace kelvorn_files
