// The name a saved index carries of the data it was built from, worked out
// from the images' bytes, so that images held in memory are named as the
// files they were read from.
#ifndef KELVORN_INDEX_SAVED_DATATAG_H
#define KELVORN_INDEX_SAVED_DATATAG_H

#include <string>
#include <string_view>

namespace kelvorn_saved_index {

// The core image's tag (kelvorn_files::sizeAndCrc32 of its bytes, worked
// out when it was loaded), and the size and CRC-32 of the all-field image's
// header, which carries its size and the checksum of all the rest: reading
// the header alone names the whole all-field image.
std::string dataTagOfParts(const std::string& coreImageTag, std::string_view fieldsBytes);

}  // namespace kelvorn_saved_index

#endif  // KELVORN_INDEX_SAVED_DATATAG_H
