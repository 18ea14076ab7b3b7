// Appending little-endian fields to bytes being built, as the tests and the
// benchmarks write images of their own.
#ifndef KELVORN_TESTS_SUPPORT_LITTLEENDIAN_H
#define KELVORN_TESTS_SUPPORT_LITTLEENDIAN_H

#include <cstdint>
#include <string>

namespace testsupport {

inline void put16(std::string* out, std::uint16_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>(v >> 8));
}

inline void put32(std::string* out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_LITTLEENDIAN_H
