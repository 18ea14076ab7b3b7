// fuzz_image_forged: the core image target, with mutations past the header,
// so that every input is read as block records; the word mutations land on
// block bounds and counts, which sit at no fixed alignment, as often as on
// anything else.
#include "StructuredMutator.h"
#include "image/ImageFormat.h"

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                              std::size_t maxSize, unsigned seed) {
  const std::size_t begin = kelvorn_private::image::header::kSize;
  return fuzzmutate::mutatePast(data, size, maxSize, seed, begin, seed % 4);
}
