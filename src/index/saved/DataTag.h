// The name a saved index carries of the data it was built from, worked out
// from the images' bytes, so that a program holding them in memory (the
// WebAssembly module) names them as the tool names the files.
#ifndef KELVORN_INDEX_SAVED_DATATAG_H
#define KELVORN_INDEX_SAVED_DATATAG_H

#include <string>
#include <string_view>

namespace kelvorn_saved_index {

// The core image's size and CRC-32, and the size and CRC-32 of the
// all-field image's header, which carries its size and the checksum of all
// the rest: reading the header alone names the whole all-field image.
std::string dataTagOf(std::string_view coreBytes, std::string_view fieldsBytes);

// The same from the core image's tag (kelvorn_files::sizeAndCrc32 of its
// bytes, worked out when it was loaded) and the all-field image's bytes.
std::string dataTagOfParts(const std::string& coreImageTag, std::string_view fieldsBytes);

}  // namespace kelvorn_saved_index

#endif  // KELVORN_INDEX_SAVED_DATATAG_H
