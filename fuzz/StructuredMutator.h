// The mutation behind the fuzz targets whose formats a byte-level fuzzer
// rarely gets through: the all-field image, whose checksum refuses almost
// every mutated input before any table is read, and the core image and the
// saved index, whose headers and counts must stay intact for the tables
// behind them to be reached. Each target mutates past its fixed prefix,
// often a whole aligned word set to a value that sits on a boundary (zero,
// one, a neighbour's value, the largest code point and just past it, all
// ones), and then repairs what its format checks first, such as the size
// and the checksum in the header.
#ifndef KELVORN_FUZZ_STRUCTUREDMUTATOR_H
#define KELVORN_FUZZ_STRUCTUREDMUTATOR_H

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace fuzzmutate {

// A small generator of our own: the seed libFuzzer gives makes a run
// repeatable.
class Random {
 public:
  explicit Random(unsigned seed) : state_(seed * 2654435761U + 1) {}
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::size_t below(std::size_t n) { return n == 0 ? 0 : next() % n; }

 private:
  std::uint32_t state_;
};

inline std::uint32_t load32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

inline void store32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void store64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A value on one of the boundaries that the readers' checks stand on.
inline std::uint32_t boundaryValue(Random& r, std::uint32_t old, std::uint32_t neighbour,
                                   std::size_t size) {
  switch (r.below(10)) {
    case 0: return 0;
    case 1: return 1;
    case 2: return old + 1;
    case 3: return old - 1;
    case 4: return neighbour;
    case 5: return 0x10FFFF;
    case 6: return 0x110000;
    case 7: return 0xFFFFFFFF;
    case 8: return static_cast<std::uint32_t>(size);
    default: return old ^ (std::uint32_t{1} << r.below(32));
  }
}

// Mutates bytes [begin, size): half the time one aligned word (counted from
// `align`) is set to a boundary value, or two words are swapped, and the
// length never changes; otherwise libFuzzer's own mutation runs on the
// part past `begin`, which may change the length.
inline std::size_t mutatePast(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                              unsigned seed, std::size_t begin, std::size_t align) {
  if (size <= begin + 4 || maxSize <= begin) return size;
  Random r(seed);
  if (r.below(2) == 0) {
    const std::size_t words = (size - align) / 4;
    const std::size_t first = (begin - align + 3) / 4;
    if (words <= first) return size;
    std::uint8_t* a = data + align + 4 * (first + r.below(words - first));
    std::uint8_t* b = data + align + 4 * (first + r.below(words - first));
    if (r.below(4) == 0) {
      std::uint8_t t[4];
      std::memcpy(t, a, 4);
      std::memcpy(a, b, 4);
      std::memcpy(b, t, 4);
    } else {
      store32(a, boundaryValue(r, load32(a), load32(b), size));
    }
    return size;
  }
  return begin + LLVMFuzzerMutate(data + begin, size - begin, maxSize - begin);
}

}  // namespace fuzzmutate

#endif  // KELVORN_FUZZ_STRUCTUREDMUTATOR_H
