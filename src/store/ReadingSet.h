// The reading strings of one code point, kept in the store's reading arena.
//
// A set is encoded as its four counts, one per reading list in property
// order (kHanyuPinlu, kJapaneseKun, kJapaneseOn, kMandarin), then the
// strings of each list, each as its length and its bytes. The narrow form
// uses one byte for counts and lengths - the image's own reading record, so
// an image load copies it as it stands. The wide form uses four bytes for
// each, for text whose lists or strings outgrow a byte. A ReadingRef with
// its top bit set names a wide set; ref 0 is the empty set every store's
// arena begins with, shared by the many code points that have no readings.
#ifndef KELVORN_STORE_READINGSET_H
#define KELVORN_STORE_READINGSET_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/UnihanMgr.h"
#include "store/records.h"

namespace kelvorn_private {

constexpr int kReadingLists = 4;
static_assert(kelvorn::kJapaneseKun == kelvorn::kHanyuPinlu + 1 &&
                  kelvorn::kJapaneseOn == kelvorn::kHanyuPinlu + 2 &&
                  kelvorn::kMandarin == kelvorn::kHanyuPinlu + 3,
              "the reading properties index the lists in order");

// The list of a reading property, or -1 for any other property.
inline int readingListOf(int prop) {
  const int list = prop - kelvorn::kHanyuPinlu;
  return list >= 0 && list < kReadingLists ? list : -1;
}

constexpr ReadingRef kWideReadingBit = 0x80000000u;
constexpr ReadingRef kEmptyReadings = 0;
constexpr std::size_t kEmptyReadingBytes = kReadingLists;  // four zero counts

// One reading list per property, as the text reader gathers them.
using ReadingLists = std::array<std::vector<std::string>, kReadingLists>;

class ReadingSetView {
 public:
  ReadingSetView(const std::uint8_t* arena, ReadingRef ref)
      : set_(arena + (ref & ~kWideReadingBit)), wide_((ref & kWideReadingBit) != 0) {}

  std::size_t count(int list) const {
    return wide_ ? load32(set_ + 4 * static_cast<std::size_t>(list)) : set_[list];
  }

  // Calls f with each string of the list, in order. A string is held up to
  // its first zero byte, which only an image can put there.
  template <class F>
  void forEach(int list, F&& f) const {
    std::size_t n = count(list);
    if (n == 0) return;
    // The strings of the lists before this one, passed over in one loop.
    std::size_t before = 0;
    for (int l = 0; l < list; ++l) before += count(l);
    const std::uint8_t* p = set_ + kReadingLists * lengthSize();
    for (; before > 0; --before) p += lengthSize() + length(p);
    for (; n > 0; --n) {
      const std::size_t len = length(p);
      f(held(p + lengthSize(), len));
      p += lengthSize() + len;
    }
  }

 private:
  static std::uint32_t load32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  std::size_t lengthSize() const { return wide_ ? 4 : 1; }
  std::size_t length(const std::uint8_t* p) const { return wide_ ? load32(p) : *p; }
  static std::string_view held(const std::uint8_t* bytes, std::size_t len) {
    const auto* chars = reinterpret_cast<const char*>(bytes);
    const void* zero = std::memchr(chars, 0, len);
    return {chars, zero == nullptr ? len : static_cast<std::size_t>(static_cast<const char*>(zero) - chars)};
  }

  const std::uint8_t* set_;
  bool wide_;
};

// Appends the lists to the arena and returns their ref; empty lists share
// the arena's empty set.
ReadingRef appendReadingSet(StoreArray<std::uint8_t>* arena, const ReadingLists& lists);

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_READINGSET_H
