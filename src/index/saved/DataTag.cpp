#include "index/saved/DataTag.h"

#include <cstdio>

#include "app/files/Crc32.h"

namespace kelvorn_saved_index {
namespace {

// The all-field image's header and the start of its section table: the
// header holds the file size and the CRC-32 of everything after it.
constexpr std::size_t kFieldsHeadBytes = 64;

std::string sizeAndCrc(std::string_view bytes) {
  char crc[9];
  (void)std::snprintf(crc, sizeof crc, "%08x", kelvorn_files::crc32(bytes));
  return std::to_string(bytes.size()) + " bytes, CRC-32 " + crc;
}

}  // namespace

std::string dataTagOf(std::string_view coreBytes, std::string_view fieldsBytes) {
  return "core image " + sizeAndCrc(coreBytes) + "; all-field image header " +
         sizeAndCrc(fieldsBytes.substr(0, kFieldsHeadBytes));
}

}  // namespace kelvorn_saved_index
