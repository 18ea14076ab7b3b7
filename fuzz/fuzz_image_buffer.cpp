// Arbitrary bytes as a binary image: the buffer loader and the file loader
// must agree on the result and on every answer of the store they leave, and
// an image that loaded must write back and load again unchanged.
#include <memory>
#include <stdexcept>

#include "FuzzStore.h"
#include "image/ImageFormat.h"

using kelvorn_private::UnihanData;
using fuzzstore::fail;

namespace {

constexpr int kThrew = -2;

// The bytes sit in a heap block of exactly their size, so that a read past
// the end is caught by the address sanitizer.
int loadBuffer(UnihanData* store, const std::vector<char>& bytes) {
  std::vector<char> exact(bytes);
  try {
    return store->readUnihanBinaryBuf(exact.empty() ? nullptr : exact.data(),
                                      static_cast<unsigned int>(exact.size()));
  } catch (const std::length_error&) {
    return kThrew;  // a negative block count: refused by design
  }
}

int loadFile(UnihanData* store, char* path) {
  try {
    return store->readUnihanBinary(path);
  } catch (const std::length_error&) {
    return kThrew;
  }
}

bool sameStore(const UnihanData& a, const UnihanData& b, const std::vector<int>& points) {
  return fuzzstore::sameStore(a, b) &&
         fuzzstore::describeAll(a, points) == fuzzstore::describeAll(b, points);
}

// An image that loaded whole is written again; that image must load whole
// into a store that answers as the first, and write back byte for byte.
void checkRewrite(const UnihanData& store, const std::vector<int>& points) {
  static fuzzstore::MemFile first("image-rewrite"), second("image-rewrite-2");
  const bool fits = kelvorn_private::fitsImageFormat(store);
  if (store.write(first.path(), 1) != (fits ? 0 : -1)) fail("write result");
  if (!fits) return;
  const std::vector<char> image = first.get();
  auto again = std::make_unique<UnihanData>();
  if (loadBuffer(again.get(), image) != static_cast<int>(image.size())) fail("rewritten image refused");
  if (!sameStore(store, *again, points)) fail("rewritten image answers differently");
  if (again->write(second.path(), 1) != 0 || second.get() != image) fail("second rewrite differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzzstore::MemFile input("image-input");
  const std::vector<char> bytes(data, data + size);
  auto fromBuffer = std::make_unique<UnihanData>();
  const int got = loadBuffer(fromBuffer.get(), bytes);
  const int whole = static_cast<int>(size);
  if (got != 0 && got != 19 && got != 20 && got != whole && got != kThrew) fail("buffer result");

  input.put(data, size);
  auto fromFile = std::make_unique<UnihanData>();
  const int fileGot = loadFile(fromFile.get(), input.path());
  const int expected = got == kThrew ? kThrew : got == whole && size >= 26 ? 0 : -1;
  if (fileGot != expected) fail("file and buffer loaders disagree on the result");

  // A load cut short leaves a partial store; it is asked every query too.
  const std::vector<int> points = fuzzstore::probePoints(*fromBuffer, 4, 4);
  if (!sameStore(*fromBuffer, *fromFile, points)) fail("file and buffer loaders disagree on the store");
  if (got == whole && size >= 26) checkRewrite(*fromBuffer, points);
  return 0;
}
