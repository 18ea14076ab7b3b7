// What the index tests share: stores loaded from text in the running test's
// directory, radical pages as (code point, residual) pairs, and the extras an
// application fills from the text.
#ifndef KELVORN_TESTS_INDEXTESTSUPPORT_H
#define KELVORN_TESTS_INDEXTESTSUPPORT_H

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "kelvorn/UnihanIndex.h"
#include "support/DataLines.h"

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
  testsupport::forEachDataLine(text, [&](char32_t cp, std::string_view field, std::string_view value) {
    if (field == "kRSUnicode") extras.addRSUnicode(cp, value);
    if (field == "kCompatibilityVariant") extras.addCompatibilityVariant(cp, value);
  });
  return extras;
}

}  // namespace indextest

#endif  // KELVORN_TESTS_INDEXTESTSUPPORT_H
