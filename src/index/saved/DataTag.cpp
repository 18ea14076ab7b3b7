#include "index/saved/DataTag.h"

#include "app/files/Crc32.h"
#include "fields/FieldsFormat.h"

namespace kelvorn_saved_index {

// The tag reads the all-field image's header and the start of its section
// table: the header holds the file size and the CRC-32 of everything after
// it.
std::string dataTagOfParts(const std::string& coreImageTag, std::string_view fieldsBytes) {
  return "core image " + coreImageTag + "; all-field image header " +
         kelvorn_files::sizeAndCrc32(fieldsBytes.substr(0, kTaggedHeadBytes));
}

std::string dataTagOfHead(const std::string& coreImageTag, std::string_view head) {
  namespace format = kelvorn_fields_private::format;
  const std::string_view magic(format::kMagic, format::kMagicLength);
  const bool whole = head.size() >= kTaggedHeadBytes && head.substr(0, magic.size()) == magic;
  if (coreImageTag.empty() || !whole) return "";
  return dataTagOfParts(coreImageTag, head);
}

}  // namespace kelvorn_saved_index
