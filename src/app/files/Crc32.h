// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), which the
// all-field image carries over everything past its header and a saved index
// over the core image.
#ifndef KELVORN_FILES_CRC32_H
#define KELVORN_FILES_CRC32_H

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvorn_files {

std::uint32_t crc32(std::string_view bytes) noexcept;

// "2070345 bytes, CRC-32 1a2b3c4d": the name of some bytes, by which a saved
// index tells the data it was built from.
std::string sizeAndCrc32(std::string_view bytes);
// The same name from a size and CRC-32 kept elsewhere.
std::string sizeAndCrc32(std::uint64_t size, std::uint32_t crc);

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_CRC32_H
