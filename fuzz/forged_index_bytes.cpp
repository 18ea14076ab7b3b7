// fuzz_index_forged: the saved-index target, with mutations past the magic,
// the format version and the tag, which must stay as they are for the
// tables behind them to be read at all.
#include "StructuredMutator.h"
#include "index/IndexFormat.h"

namespace format = kelvorn_index_private::format;

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                              std::size_t maxSize, unsigned seed) {
  constexpr std::size_t kTagLengthAt = format::kMagicLength + 4;
  if (size < kTagLengthAt + 4) return size;
  const std::size_t tagLength = fuzzmutate::load32(data + kTagLengthAt);
  if (tagLength > size) return size;
  const std::size_t tagEnd = kTagLengthAt + 4 + tagLength;
  const std::size_t bodyBegin = (tagEnd + format::kAlignment - 1) / format::kAlignment * format::kAlignment;
  return fuzzmutate::mutatePast(data, size, maxSize, seed, bodyBegin, 0);
}
