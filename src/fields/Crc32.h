// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), which the
// image carries over everything past its header.
#ifndef KELVORN_FIELDS_CRC32_H
#define KELVORN_FIELDS_CRC32_H

#include <cstdint>
#include <string_view>

namespace kelvorn_fields_private {

std::uint32_t crc32(std::string_view bytes) noexcept;

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_CRC32_H
