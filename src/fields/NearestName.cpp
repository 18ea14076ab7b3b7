#include "fields/NearestName.h"

#include <algorithm>
#include <cstddef>

namespace kelvorn_fields_private {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Levenshtein distance over bytes, case folded; a difference of case alone
// costs nothing, so a name typed in the wrong case is always the nearest.
std::size_t distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t substitute = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, substitute});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string_view nearestName(const std::vector<std::string_view>& names, std::string_view wanted) {
  // A name longer than any field's is no typo of one, and would only cost
  // time: the distance is quadratic in the lengths.
  constexpr std::size_t kLongestTypo = 64;
  if (wanted.size() > kLongestTypo) return {};
  std::string_view best;
  std::size_t bestDistance = 0;
  for (const std::string_view name : names) {
    const std::size_t d = distance(wanted, name);
    if (best.empty() || d < bestDistance) {
      best = name;
      bestDistance = d;
    }
  }
  // Beyond a third of the name, a suggestion is a guess rather than a fix.
  const std::size_t plausible = std::max<std::size_t>(2, wanted.size() / 3);
  return bestDistance <= plausible ? best : std::string_view();
}

std::string unknownFieldMessage(const std::vector<std::string_view>& names, std::string_view wanted) {
  std::string message = "no field " + std::string(wanted) + " in the data";
  const std::string_view near = nearestName(names, wanted);
  if (!near.empty()) message += "; did you mean " + std::string(near) + "?";
  return message;
}

}  // namespace kelvorn_fields_private
