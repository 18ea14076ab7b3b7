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

StringIds::StringIds() : slots_(kInitialSlots, kEmpty) {}

std::uint32_t StringIds::intern(std::string_view text) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = hashOf(text) & mask;
  while (slots_[slot] != kEmpty) {
    if (strings_[slots_[slot]] == text) return slots_[slot];
    slot = (slot + 1) & mask;
  }
  const auto id = static_cast<std::uint32_t>(strings_.size());
  strings_.emplace_back(text);
  slots_[slot] = id;
  // At most half full, so that probe runs stay short.
  if (strings_.size() * 2 > slots_.size()) grow();
  return id;
}

void StringIds::grow() {
  slots_.assign(slots_.size() * 2, kEmpty);
  const std::size_t mask = slots_.size() - 1;
  for (std::uint32_t id = 0; id < strings_.size(); ++id) {
    std::size_t slot = hashOf(strings_[id]) & mask;
    while (slots_[slot] != kEmpty) slot = (slot + 1) & mask;
    slots_[slot] = id;
  }
}

}  // namespace kelvorn_index_private
