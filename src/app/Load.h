// Filling a store from a file or from memory.
#ifndef KELVORN_APP_LOAD_H
#define KELVORN_APP_LOAD_H

#include <memory>
#include <string>
#include <string_view>

#include "app/Store.h"

namespace kelvorn_app_private {

// Loads an image from its whole bytes; throws kelvorn::Error naming `name`
// for a damaged image or one of another format version.
void loadImage(kelvorn::UnihanMgr& mgr, std::string bytes, const std::string& name);

// A regular file, image or text by its magic; throws kelvorn::Error.
std::shared_ptr<Store> loadFile(const std::string& path);

// Bytes in memory, image or text by the magic; throws kelvorn::Error.
std::shared_ptr<Store> loadBytes(std::string_view bytes, const std::string& name);

// The image of a bundle, opened in place from the core tables written from
// it (store/TablesFormat.h) when they are there, pass their checks and name
// an image of the size the image file has; otherwise, and whatever is wrong
// with the tables, loaded from the image as loadFile does. The tables carry
// the image's size and CRC-32, so the image is not read at all.
std::shared_ptr<Store> loadBundledImage(const std::string& imagePath, const std::string& tablesPath);

}  // namespace kelvorn_app_private

#endif  // KELVORN_APP_LOAD_H
