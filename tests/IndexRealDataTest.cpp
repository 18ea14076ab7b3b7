// The companion index over the Unihan data of Unicode 17.0 (bundled) and
// 15.0.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "kelvorn/UnihanIndex.h"

namespace {

using kelvorn::UnihanIndex;

struct Release {
  const char* name;
  const char* textPath;
  std::size_t codePoints;
};

// Each release's index is built once for the whole suite.
const UnihanIndex& indexOf(const Release& release) {
  static std::map<std::string, std::unique_ptr<UnihanIndex>> built;
  std::unique_ptr<UnihanIndex>& slot = built[release.name];
  if (!slot) {
    kelvorn::UnihanMgr mgr;
    std::string path = release.textPath;
    EXPECT_EQ(mgr.readUnihan(path.data()), 0);
    slot = std::make_unique<UnihanIndex>(mgr);
  }
  return *slot;
}

const Release kUnicode17{"Unicode17", KELVORN_TEST_DATA, 102998};
const Release kUnicode15{"Unicode15", KELVORN_EARLIER_TEST_DATA, 98060};

class IndexRealData : public testing::TestWithParam<Release> {
 protected:
  const UnihanIndex& ix() const { return indexOf(GetParam()); }
};

// What holds of a whole release: its count, the order of its code points,
// and a prefix finding exactly what every syllable that begins so finds.
// The answers themselves are the small stores' (IndexTest, IndexOrderTest).
TEST_P(IndexRealData, KnownAnswers) {
  EXPECT_EQ(ix().codePoints().size(), GetParam().codePoints);
  EXPECT_TRUE(std::is_sorted(ix().codePoints().begin(), ix().codePoints().end()));
  const std::vector<char32_t> zh =
      ix().byReading("zh", kelvorn::Reading::kMandarin, kelvorn::ReadingMatch::kPrefix);
  std::set<char32_t> zhSyllables;
  for (const char* syllable : {"zha", "zhai", "zhan", "zhang", "zhao", "zhe", "zhei", "zhen",
                               "zheng", "zhi", "zhong", "zhou", "zhu", "zhua", "zhuai", "zhuan",
                               "zhuang", "zhui", "zhun", "zhuo"}) {
    for (const char32_t cp : ix().byReading(syllable)) zhSyllables.insert(cp);
  }
  EXPECT_EQ(std::set<char32_t>(zh.begin(), zh.end()), zhSyllables);
  EXPECT_EQ(zhSyllables.size(), zh.size());  // each character once
  EXPECT_TRUE(zhSyllables.count(U'中') == 1 && zhSyllables.count(U'这') == 1);
  // 17.0 dropped kRSKangXi; 15.0 has it.
  EXPECT_EQ(ix().byRadical(85, kelvorn::Source::kRSKangXi).empty(),
            GetParam().codePoints == 102998);
}

INSTANTIATE_TEST_SUITE_P(Releases, IndexRealData, testing::Values(kUnicode17, kUnicode15),
                         [](const testing::TestParamInfo<Release>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
