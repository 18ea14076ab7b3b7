// kelvorn/UnihanImage.h - how a binary image of this library begins.
//
// Every image that UnihanMgr::write produces starts with these 19 bytes (no
// terminator is written). Programs that accept either an image or Unihan
// text tell them apart by this prefix, as the `unihan` tool does.
#ifndef KELVORN_UNIHANIMAGE_H
#define KELVORN_UNIHANIMAGE_H

#include <cstddef>

namespace kelvorn {

inline constexpr char kImageMagic[] = "vantu unihan binary";
inline constexpr std::size_t kImageMagicLength = sizeof(kImageMagic) - 1;

// The whole header, magic included. readUnihanBinaryBuf answers 19 or 20 -
// a buffer's own length when it is that short - for a header cut short, so
// a caller that checks for success by the length asks for at least this.
inline constexpr std::size_t kImageHeaderLength = 26;

}  // namespace kelvorn

#endif  // KELVORN_UNIHANIMAGE_H
