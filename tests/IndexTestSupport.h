// What the index tests share: stores loaded from text in the running test's
// directory, radical pages as (code point, residual) pairs, and the extras an
// application fills from the text.
#ifndef KELVORN_TESTS_INDEXTESTSUPPORT_H
#define KELVORN_TESTS_INDEXTESTSUPPORT_H

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "kelvorn/UnihanIndex.h"

namespace indextest {

using Cps = std::vector<char32_t>;
using Page = std::vector<std::pair<char32_t, int>>;

inline kelvorn::UnihanMgr storeOf(const std::string& text) {
  kelvorn::UnihanMgr mgr;
  EXPECT_EQ(testsupport::loadText(mgr, text), 0);
  return mgr;
}

inline kelvorn::UnihanIndex indexOf(const std::string& text) {
  return kelvorn::UnihanIndex(storeOf(text));  // the index keeps the store alive
}

inline Page entries(const std::vector<kelvorn::RadicalEntry>& page) {
  Page out;
  for (const auto& e : page) out.emplace_back(e.codePoint, e.residual);
  return out;
}

// kRSUnicode's marks and kCompatibilityVariant, from every data line.
inline kelvorn::RadicalStrokeExtras extrasOf(const std::string& text) {
  kelvorn::RadicalStrokeExtras extras;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t tab = line.find('\t');
    const std::size_t tab2 = line.find('\t', tab + 1);
    if (line.rfind("U+", 0) != 0 || tab2 == std::string::npos) continue;
    const auto cp = static_cast<char32_t>(std::stoul(line.substr(2, tab - 2), nullptr, 16));
    const std::string field = line.substr(tab + 1, tab2 - tab - 1);
    if (field == "kRSUnicode") extras.addRSUnicode(cp, line.substr(tab2 + 1));
    if (field == "kCompatibilityVariant") extras.addCompatibilityVariant(cp, line.substr(tab2 + 1));
  }
  return extras;
}

}  // namespace indextest

#endif  // KELVORN_TESTS_INDEXTESTSUPPORT_H
