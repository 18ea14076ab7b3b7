#include "index/StringIds.h"

namespace kelvorn_index_private {
namespace {

constexpr std::size_t kInitialSlots = 1024;

// FNV-1a: short strings, so the simplest good hash is the fastest.
std::size_t hashOf(std::string_view text) noexcept {
  std::uint64_t h = 14695981039346656037ULL;
  for (const char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ULL;
  }
  return static_cast<std::size_t>(h);
}

}  // namespace

StringIds::StringIds() : slots_(kInitialSlots, Slot{0, kEmpty}) {}

std::uint32_t StringIds::intern(std::string_view text) {
  const std::size_t mask = slots_.size() - 1;
  const auto hash = static_cast<std::uint32_t>(hashOf(text));
  std::size_t slot = hash & mask;
  for (; slots_[slot].id != kEmpty; slot = (slot + 1) & mask) {
    const Slot& s = slots_[slot];
    if (s.hash == hash && strings_[s.id] == text) return s.id;
  }
  const auto id = static_cast<std::uint32_t>(strings_.size());
  strings_.emplace_back(text);
  slots_[slot] = {hash, id};
  // At most half full, so that probe runs stay short.
  if (strings_.size() * 2 > slots_.size()) grow();
  return id;
}

void StringIds::grow() {
  std::vector<Slot> old(slots_.size() * 2, Slot{0, kEmpty});
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.id == kEmpty) continue;
    std::size_t slot = s.hash & mask;
    while (slots_[slot].id != kEmpty) slot = (slot + 1) & mask;
    slots_[slot] = s;
  }
}

}  // namespace kelvorn_index_private
