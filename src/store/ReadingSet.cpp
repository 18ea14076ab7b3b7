#include "store/ReadingSet.h"

#include <cstring>
#include <new>

namespace kelvorn_private {
namespace {

void appendNumber(StoreArray<std::uint8_t>* arena, std::size_t value, bool wide) {
  if (!wide) {
    arena->push_back(static_cast<std::uint8_t>(value));
    return;
  }
  const auto v = static_cast<std::uint32_t>(value);
  std::uint8_t bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  arena->append(bytes, bytes + sizeof v);
}

bool needsWide(const ReadingLists& lists) {
  for (const auto& list : lists) {
    if (list.size() > 0xFF) return true;
    for (const std::string& s : list) {
      if (s.size() > 0xFF) return true;
    }
  }
  return false;
}

}  // namespace

ReadingRef appendReadingSet(StoreArray<std::uint8_t>* arena, const ReadingLists& lists) {
  bool empty = true;
  for (const auto& list : lists) empty = empty && list.empty();
  if (empty) return kEmptyReadings;
  const bool wide = needsWide(lists);
  const std::size_t offset = arena->size();
  // Refs keep their top bit for the form, so the arena stays below 2 GiB.
  if (offset >= kWideReadingBit) throw std::bad_alloc();
  for (const auto& list : lists) appendNumber(arena, list.size(), wide);
  for (const auto& list : lists) {
    for (const std::string& s : list) {
      appendNumber(arena, s.size(), wide);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(s.data());
      arena->append(bytes, bytes + s.size());
    }
  }
  return static_cast<ReadingRef>(offset) | (wide ? kWideReadingBit : 0);
}

}  // namespace kelvorn_private
