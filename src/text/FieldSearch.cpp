#include "text/FieldSearch.h"

#include <cstring>

#include "store/UnihanData.h"

namespace kelvorn_private {

FieldMatch findField(std::string_view line) {
  FieldMatch best{-1, 0};
  int bestProp = kPropCount;
  const char* begin = line.data();
  const char* end = begin + line.size();
  for (const char* p = begin;; ++p) {
    p = static_cast<const char*>(std::memchr(p, 'k', static_cast<std::size_t>(end - p)));
    if (p == nullptr) break;
    const auto remaining = static_cast<std::size_t>(end - p);
    for (int prop = 0; prop < bestProp; ++prop) {
      const std::string_view name = kFieldNames[prop];
      if (name.size() <= remaining && p[1] == name[1] &&
          std::memcmp(p, name.data(), name.size()) == 0) {
        bestProp = prop;
        best = {prop, static_cast<std::size_t>(p - begin)};
        break;
      }
    }
    if (bestProp == 0) break;
  }
  return best;
}

}  // namespace kelvorn_private
