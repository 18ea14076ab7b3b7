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

}  // namespace kelvorn_app_private

#endif  // KELVORN_APP_LOAD_H
