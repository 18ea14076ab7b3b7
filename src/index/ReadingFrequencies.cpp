// kHanyuPinlu's counts, read from its values.
#include <algorithm>
#include <optional>

#include "kelvorn/UnihanIndex.h"

namespace kelvorn {
namespace {

// Counts in the data run to five digits; nine keep any sane count and cannot
// overflow an unsigned long.
constexpr std::size_t kMaxCountDigits = 9;

// One "reading(count)" piece, or nullopt when it is not of that form.
std::optional<ReadingFrequencies::Entry> parsePiece(char32_t codePoint, std::string_view piece) {
  const std::size_t open = piece.find('(');
  if (open == 0 || open == std::string_view::npos || piece.back() != ')') return std::nullopt;
  const std::string_view digits = piece.substr(open + 1, piece.size() - open - 2);
  if (digits.empty() || digits.size() > kMaxCountDigits) return std::nullopt;
  unsigned long count = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    count = count * 10 + static_cast<unsigned long>(c - '0');
  }
  return ReadingFrequencies::Entry{codePoint, std::string(piece.substr(0, open)), count};
}

}  // namespace

bool ReadingFrequencies::addHanyuPinlu(char32_t codePoint, std::string_view value) {
  std::vector<Entry> parsed;
  while (!value.empty()) {
    const std::size_t space = value.find(' ');
    const std::string_view piece = value.substr(0, space);
    if (piece.empty()) return false;
    std::optional<Entry> entry = parsePiece(codePoint, piece);
    if (!entry) return false;
    parsed.push_back(std::move(*entry));
    if (space == std::string_view::npos) break;
    value.remove_prefix(space + 1);
    if (value.empty()) return false;  // a trailing space
  }
  if (parsed.empty()) return false;
  // Values usually arrive in code-point order, and then this appends.
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), codePoint,
                                   [](char32_t cp, const Entry& e) { return cp < e.codePoint; });
  entries_.insert(at, std::make_move_iterator(parsed.begin()),
                  std::make_move_iterator(parsed.end()));
  return true;
}

void ReadingFrequencies::setFallbackOrder(const std::vector<char32_t>& characters) {
  fallback_.clear();
  fallback_.reserve(characters.size());
  for (std::size_t place = 0; place < characters.size(); ++place) {
    fallback_.emplace_back(characters[place], place);
  }
  // Stable, so that a character listed twice keeps its first place first.
  std::stable_sort(fallback_.begin(), fallback_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  fallback_.erase(std::unique(fallback_.begin(), fallback_.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  fallback_.end());
}

std::size_t ReadingFrequencies::fallbackPlace(char32_t codePoint) const noexcept {
  const auto it = std::lower_bound(
      fallback_.begin(), fallback_.end(), codePoint,
      [](const std::pair<char32_t, std::size_t>& v, char32_t cp) { return v.first < cp; });
  return it != fallback_.end() && it->first == codePoint ? it->second : kUnlisted;
}

}  // namespace kelvorn
