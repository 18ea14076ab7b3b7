// unihan-core-tables IMAGE OUTPUT: the core tables of a binary image
// (store/TablesFormat.h), a step of the build, not an installed command.
// The tables are written from the store the image loads into, so a store
// opened from them is the one the image gives, and name the image by its
// size and CRC-32.
#include <climits>
#include <stdexcept>
#include <string>

#include "TableStep.h"
#include "app/files/Crc32.h"
#include "app/files/InputFile.h"
#include "store/UnihanData.h"

namespace {

constexpr std::size_t kMaxImageBytes = std::size_t{1} << 30;
static_assert(kMaxImageBytes <= INT_MAX, "the store reads at most INT_MAX bytes");

std::string tablesOf(const std::string& image, const std::string& path) {
  kelvorn_private::UnihanData store;
  if (store.readUnihanBinaryBuf(image.data(), static_cast<unsigned>(image.size())) !=
      static_cast<int>(image.size())) {
    throw std::runtime_error(path + ": damaged or unsupported binary image");
  }
  return store.tablesBytes({image.size(), kelvorn_files::crc32(image)});
}

}  // namespace

int main(int argc, char** argv) {
  return unihan_tool::runTableStep(
      argc, argv, "unihan-core-tables", "IMAGE", [](const std::string& path) {
        return tablesOf(kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFile)
                            .readSnapshot(kMaxImageBytes),
                        path);
      });
}
