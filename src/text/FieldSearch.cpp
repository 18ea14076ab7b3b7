#include "text/FieldSearch.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// For each character that may follow the 'k' of a field name, the fields
// whose name goes on with it. Most 'k's of a line stand in English words and
// are passed over on one table read.
constexpr std::array<std::uint16_t, 256> candidatesByNextChar() {
  std::array<std::uint16_t, 256> table{};
  for (int prop = 0; prop < kPropCount; ++prop) {
    const auto next = static_cast<unsigned char>(kelvorn::kFieldNames[static_cast<std::size_t>(prop)][1]);
    table[next] = static_cast<std::uint16_t>(table[next] | 1u << prop);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kCandidates = candidatesByNextChar();

// The two Japanese readings match only as a field name followed by its value
// separator: a longer name that begins with theirs is another field.
constexpr unsigned kNeedSeparator = 1u << kelvorn::kJapaneseKun | 1u << kelvorn::kJapaneseOn;
constexpr std::size_t kShortestName = 6;  // "kHanYu"

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
      const std::string_view name = kelvorn::kFieldNames[static_cast<std::size_t>(prop)];
      const bool separator = (kNeedSeparator >> prop & 1u) != 0;
      if (name.size() + separator <= remaining && std::memcmp(p, name.data(), name.size()) == 0 &&
          (!separator || p[name.size()] == '\t')) {
        best = {prop, static_cast<std::size_t>(p - begin)};
        below = (1u << prop) - 1;
        break;
      }
    }
  }
  return best;
}

}  // namespace kelvorn_private
