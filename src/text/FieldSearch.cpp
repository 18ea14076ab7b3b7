#include "text/FieldSearch.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// For each character that may follow the 'k' of a field name, the fields
// whose name goes on with it. Most 'k's of a line stand in English words and
// are passed over on one table read.
constexpr std::array<std::uint16_t, 256> candidatesByNextChar() {
  std::array<std::uint16_t, 256> table{};
  for (int prop = 0; prop < kPropCount; ++prop) {
    const auto next = static_cast<unsigned char>(kFieldNames[prop][1]);
    table[next] = static_cast<std::uint16_t>(table[next] | 1u << prop);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kCandidates = candidatesByNextChar();
constexpr std::size_t kShortestName = 6;  // "kHanYu"

// A name of up to 16 characters is compared as two 8-byte words under a
// mask, without a call: a line has a name compare or two, and memcmp's call
// and set-up cost more than the compare.
constexpr std::size_t kWordBytes = 8;
constexpr std::size_t kWordsBytes = 2 * kWordBytes;
static_assert(kWordsBytes <= kLinePadding, "a compare stays inside the line's padding");

// Bytes p[0] to p[n - 1] as the low bytes of a word, first byte lowest;
// written out so that it means the same on any byte order.
constexpr std::uint64_t littleWord(const char* p, std::size_t n) {
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < n && i < kWordBytes; ++i) {
    word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
  }
  return word;
}

constexpr std::uint64_t lowBytesMask(std::size_t n) {
  return n >= kWordBytes ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
}

struct NameWords {
  std::uint64_t word[2];
  std::uint64_t mask[2];
};

constexpr std::array<NameWords, kPropCount> nameWords() {
  std::array<NameWords, kPropCount> table{};
  for (int prop = 0; prop < kPropCount; ++prop) {
    const std::string_view name = kFieldNames[prop];
    const std::size_t tail = name.size() > kWordBytes ? name.size() - kWordBytes : 0;
    table[prop].word[0] = littleWord(name.data(), name.size());
    table[prop].word[1] = tail == 0 ? 0 : littleWord(name.data() + kWordBytes, tail);
    table[prop].mask[0] = lowBytesMask(name.size());
    table[prop].mask[1] = tail == 0 ? 0 : lowBytesMask(tail);
  }
  return table;
}

constexpr std::array<NameWords, kPropCount> kNameWords = nameWords();

// Whether field `prop`'s name starts at p, with `remaining` bytes of the
// line from p on; reads 16 bytes from p even when fewer remain.
bool nameAt(const char* p, std::size_t remaining, int prop) {
  const std::string_view name = kFieldNames[prop];
  if (name.size() > remaining) return false;
  const NameWords& w = kNameWords[prop];
  if ((((littleWord(p, kWordBytes) ^ w.word[0]) & w.mask[0]) |
       ((littleWord(p + kWordBytes, kWordBytes) ^ w.word[1]) & w.mask[1])) != 0) {
    return false;
  }
  return name.size() <= kWordsBytes ||
         std::memcmp(p + kWordsBytes, name.data() + kWordsBytes, name.size() - kWordsBytes) == 0;
}

}  // namespace

FieldMatch findField(std::string_view line) {
  FieldMatch best{-1, 0};
  unsigned below = (1u << kPropCount) - 1;  // fields that would beat the best so far
  const char* begin = line.data();
  const char* end = begin + line.size();
  for (const char* p = begin; below != 0; ++p) {
    p = static_cast<const char*>(std::memchr(p, 'k', static_cast<std::size_t>(end - p)));
    if (p == nullptr) break;
    const auto remaining = static_cast<std::size_t>(end - p);
    if (remaining < kShortestName) break;
    for (unsigned mask = kCandidates[static_cast<unsigned char>(p[1])] & below; mask != 0; mask &= mask - 1) {
      const int prop = __builtin_ctz(mask);
      if (nameAt(p, remaining, prop)) {
        best = {prop, static_cast<std::size_t>(p - begin)};
        below = (1u << prop) - 1;
        break;
      }
    }
  }
  return best;
}

}  // namespace kelvorn_private
