// unihan-core-tables IMAGE OUTPUT: the core tables of a binary image
// (store/TablesFormat.h), a step of the build, not an installed command.
// The tables are written from the store the image loads into, so a store
// opened from them is the one the image gives, and name the image by its
// size and CRC-32.
#include <climits>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "app/files/Crc32.h"
#include "app/files/InputFile.h"
#include "app/files/StagedOutput.h"
#include "store/UnihanData.h"

namespace {

constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;

std::string tablesOf(const std::string& image, const std::string& path) {
  kelvorn_private::UnihanData store;
  if (image.size() > INT_MAX ||
      store.readUnihanBinaryBuf(image.data(), static_cast<unsigned>(image.size())) != static_cast<int>(image.size())) {
    throw std::runtime_error(path + ": damaged or unsupported binary image");
  }
  return store.tablesBytes({image.size(), kelvorn_files::crc32(image)});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    (void)std::fputs("usage: unihan-core-tables IMAGE OUTPUT\n", stderr);
    return 2;
  }
  try {
    const std::string image =
        kelvorn_files::InputFile::open(argv[1], kelvorn_files::InputKind::kFile).readSnapshot(kMaxImageBytes);
    kelvorn_files::writeFileAtomically(argv[2], tablesOf(image, argv[1]));
  } catch (const std::exception& e) {
    (void)std::fprintf(stderr, "unihan-core-tables: %s\n", e.what());
    return 1;
  }
  return 0;
}
