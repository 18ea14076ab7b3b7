// Numbers distinct strings 0, 1, 2, ... in order of first sight. Interning
// every reading of the store is a large part of building an index, so this
// is an open-addressing table over the strings themselves rather than a map
// of nodes.
#ifndef KELVORN_INDEX_STRINGIDS_H
#define KELVORN_INDEX_STRINGIDS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorn_index_private {

class StringIds {
 public:
  StringIds();
  // The number of text, given a new one when it has none yet.
  std::uint32_t intern(std::string_view text);
  // The strings, by number.
  const std::vector<std::string>& strings() const noexcept { return strings_; }

 private:
  // A string's number and the low bits of its hash, which rule out most
  // other strings without comparing them.
  struct Slot {
    std::uint32_t hash;
    std::uint32_t id;
  };
  static constexpr std::uint32_t kEmpty = UINT32_MAX;
  void grow();

  std::vector<std::string> strings_;
  std::vector<Slot> slots_;  // a power of two of them
};

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_STRINGIDS_H
