#include "index/saved/DataTag.h"

#include "app/files/Crc32.h"

namespace kelvorn_saved_index {
namespace {

// The all-field image's header and the start of its section table: the
// header holds the file size and the CRC-32 of everything after it.
constexpr std::size_t kFieldsHeadBytes = 64;

}  // namespace

std::string dataTagOfParts(const std::string& coreImageTag, std::string_view fieldsBytes) {
  return "core image " + coreImageTag + "; all-field image header " +
         kelvorn_files::sizeAndCrc32(fieldsBytes.substr(0, kFieldsHeadBytes));
}

}  // namespace kelvorn_saved_index
