// Arbitrary text as a Unihan file. Whatever the text, the store it makes
// must write out; its image must load whole, from memory and from the file,
// into a store that answers every query as the text-loaded one does.
#include <memory>

#include "FuzzStore.h"
#include "image/ImageFormat.h"

using kelvorn_private::UnihanData;
using fuzzstore::fail;

namespace {

void checkImageAnswersAsText(const UnihanData& text, const std::vector<char>& image,
                             char* imagePath) {
  const std::vector<int> points = fuzzstore::probePoints(text, 3, 3);
  const std::uint64_t expected = fuzzstore::describeAll(text, points);

  std::vector<char> exact(image);  // exactly sized, for the address sanitizer
  auto fromBuffer = std::make_unique<UnihanData>();
  if (fromBuffer->readUnihanBinaryBuf(exact.data(), static_cast<unsigned int>(exact.size())) !=
      static_cast<int>(exact.size())) {
    fail("image of a text load refused by the buffer loader");
  }
  auto fromFile = std::make_unique<UnihanData>();
  if (fromFile->readUnihanBinary(imagePath) != 0) fail("image of a text load refused by the file loader");

  for (const UnihanData* loaded : {fromBuffer.get(), fromFile.get()}) {
    if (loaded->versionMajor() != 1 || loaded->versionMinor() != 4) fail("image version");
    if (!fuzzstore::sameStore(*loaded, text)) fail("image holds other records than the text");
  }
  // Equal records give equal answers; asking one loaded store checks the
  // queries over what the image reader built without paying for both.
  if (fuzzstore::describeAll(*fromBuffer, points) != expected) {
    fail("image answers differ from text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzzstore::MemFile input("text-input"), image("text-image"), dump("text-dump");
  input.put(data, size);
  auto text = std::make_unique<UnihanData>();
  if (text->readUnihan(input.path()) != 0 || !text->valid()) fail("text load");

  if (text->write(dump.path(), 0) != 0) fail("dump write");
  const bool fits = kelvorn_private::fitsImageFormat(*text);
  if (text->write(image.path(), 1) != (fits ? 0 : -1)) fail("image write result");
  if (fits) checkImageAnswersAsText(*text, image.get(), image.path());
  return 0;
}
