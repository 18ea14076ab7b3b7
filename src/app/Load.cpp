// Loading a Unihan: a file, told image or text by the magic, or bytes in
// memory.
#include <climits>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/Load.h"
#include "app/Store.h"
#include "app/files/Crc32.h"
#include "app/files/InputFile.h"
#include "fields/MappedFile.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanImage.h"
#include "store/HandleAccess.h"

namespace kelvorn_app_private {
namespace {

constexpr std::string_view kMagic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
// The format version this library writes and reads: the one a store has
// until an image gives it another.
constexpr short kFormatMajor = kelvorn_private::kDefaultVersionMajor;
constexpr short kFormatMinor = kelvorn_private::kDefaultVersionMinor;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Far above any image of real data (the bundled one is 2 MB), and low enough
// that a file which merely begins with the magic is refused before it is
// read into memory.
constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;

// Text has no limit of its own; the bound only keeps the snapshot's
// one-byte look past the end from overflowing.
constexpr std::size_t kMaxTextBytes = SIZE_MAX / 2;

bool startsWithMagic(std::string_view bytes) { return bytes.substr(0, kMagic.size()) == kMagic; }

bool holdsAny(const Store& store) {
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (holds(store, cp)) return true;
  }
  return false;
}

// A UTF-8 byte-order mark is dropped first: the core would take it for part
// of the first line. The reader passes over what it does not understand, so
// bytes that are not Unihan text load as nothing at all, which is refused.
void loadText(Store* store, std::string_view text, const std::string& name) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    text.remove_prefix(kByteOrderMark.size());
  }
  kelvorn_private::HandleAccess::store(store->mgr)->readUnihanText(text);
  if (!holdsAny(*store)) {
    throw kelvorn::Error(name + ": not Unihan text (no code point with a kept field)");
  }
}

// The store of the tables, or null when they are missing or refused.
std::shared_ptr<Store> openTables(const std::string& imagePath, const std::string& tablesPath) {
  std::error_code error;
  const std::uintmax_t imageSize = std::filesystem::file_size(imagePath, error);
  if (error || !std::filesystem::exists(tablesPath, error)) return nullptr;
  try {
    auto mapping = std::make_shared<const kelvorn_fields_private::MappedFile>(tablesPath);
    const std::string_view bytes = mapping->bytes();
    auto store = std::make_shared<Store>();
    kelvorn_private::TablesImageTag tag;
    const std::string refused = kelvorn_private::HandleAccess::store(store->mgr)->openTables(
        reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), mapping, &tag);
    if (!refused.empty() || tag.size != imageSize ||
        !store->mgr.VersionCheck(kFormatMajor, kFormatMinor)) {
      return nullptr;
    }
    store->imageTag = kelvorn_files::sizeAndCrc32(tag.size, tag.crc);
    return store;
  } catch (const kelvorn::Error&) {
    return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

void loadImage(kelvorn::UnihanMgr& mgr, std::string bytes, const std::string& name) {
  bool loaded = false;
  // A buffer loads when the core answers its length, but a header cut short
  // is answered with its own length too.
  if (bytes.size() >= kelvorn::kImageHeaderLength && bytes.size() <= INT_MAX) {
    const auto length = static_cast<unsigned int>(bytes.size());
    try {
      loaded = mgr.readUnihanBinaryBuf(bytes.data(), length) == static_cast<int>(length);
    } catch (const std::length_error&) {  // a block count with its top bit set: not loaded
    }
  }
  if (!loaded) throw kelvorn::Error(name + ": damaged or unsupported binary image");
  if (!mgr.VersionCheck(kFormatMajor, kFormatMinor)) {
    throw kelvorn::Error(name + ": binary image of another format version (this library reads " +
                         std::to_string(kFormatMajor) + "." + std::to_string(kFormatMinor) + ")");
  }
}

std::shared_ptr<Store> loadFile(const std::string& path) {
  if (path.empty()) throw kelvorn::Error("an empty path names no file");
  const kelvorn_files::InputFile file =
      kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFile);
  auto store = std::make_shared<Store>();
  if (startsWithMagic(file.head(kMagic.size()))) {
    std::string bytes = file.readSnapshot(kMaxImageBytes);
    store->imageTag = kelvorn_files::sizeAndCrc32(bytes);
    loadImage(store->mgr, std::move(bytes), path);
  } else {
    loadText(store.get(), file.readSnapshot(kMaxTextBytes), path);
  }
  return store;
}

std::shared_ptr<Store> loadBytes(std::string_view bytes, const std::string& name) {
  auto store = std::make_shared<Store>();
  if (startsWithMagic(bytes)) {
    store->imageTag = kelvorn_files::sizeAndCrc32(bytes);
    loadImage(store->mgr, std::string(bytes), name);
  } else {
    loadText(store.get(), bytes, name);
  }
  return store;
}

std::shared_ptr<Store> loadBundledImage(const std::string& imagePath, const std::string& tablesPath) {
  std::shared_ptr<Store> store = openTables(imagePath, tablesPath);
  return store != nullptr ? store : loadFile(imagePath);
}

}  // namespace kelvorn_app_private
