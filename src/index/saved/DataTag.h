// The name a saved index carries of the data it was built from, worked out
// from the images' bytes, so that images held in memory are named as the
// files they were read from.
#ifndef KELVORN_INDEX_SAVED_DATATAG_H
#define KELVORN_INDEX_SAVED_DATATAG_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvorn_saved_index {

// The core image's tag (kelvorn_files::sizeAndCrc32 of its bytes, worked
// out when it was loaded), and the size and CRC-32 of the all-field image's
// header, which carries its size and the checksum of all the rest: reading
// the header alone names the whole all-field image.
std::string dataTagOfParts(const std::string& coreImageTag, std::string_view fieldsBytes);

// How many of the all-field image's first bytes the tag reads.
inline constexpr std::size_t kTaggedHeadBytes = 64;

// The same tag from those bytes alone, read without opening the image, so
// that a saved index pairs with an image that no question has opened yet.
// Empty unless they are all there and begin as an all-field image does:
// anything else (text, a short file) is paired, if at all, once opened.
std::string dataTagOfHead(const std::string& coreImageTag, std::string_view head);

}  // namespace kelvorn_saved_index

#endif  // KELVORN_INDEX_SAVED_DATATAG_H
