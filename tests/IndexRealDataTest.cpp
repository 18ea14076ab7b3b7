// The companion index over the Unihan data of Unicode 17.0 (bundled) and
// 15.0: a few answers a dictionary user knows.
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

std::vector<char32_t> residualGroup(const UnihanIndex& ix, int radical, int residual,
                                    kelvorn::unihanPropT source = kelvorn::kRSUnicode) {
  std::vector<char32_t> out;
  for (const auto& e : ix.byRadical(radical, source)) {
    if (e.residual == residual) out.push_back(e.codePoint);
  }
  return out;
}

bool has(const std::vector<char32_t>& cps, char32_t cp) {
  return std::find(cps.begin(), cps.end(), cp) != cps.end();
}

TEST_P(IndexRealData, KnownAnswers) {
  EXPECT_EQ(ix().codePoints().size(), GetParam().codePoints);
  EXPECT_TRUE(std::is_sorted(ix().codePoints().begin(), ix().codePoints().end()));
  // Water: 水 氵 氺 with no residual strokes.
  EXPECT_EQ(residualGroup(ix(), 85, 0), (std::vector<char32_t>{0x6C34, 0x6C35, 0x6C3A, 0x23C71}));
  EXPECT_TRUE(has(residualGroup(ix(), 85, 11), 0x6F22));  // 漢
  EXPECT_EQ(residualGroup(ix(), 47, -1), (std::vector<char32_t>{0x5DDC}));
  EXPECT_TRUE(has(residualGroup(ix(), 39, 3, kelvorn::kRSVantu_Japan1_6), 0x5B57));  // 字
  EXPECT_TRUE(has(residualGroup(ix(), 40, 3, kelvorn::kRSVantu_Japan1_6), 0x5B57));
  EXPECT_EQ(ix().byTotalStrokes(1).front(), U'\u4E00');
  const std::vector<char32_t> han4 = ix().byReading("han4");
  EXPECT_TRUE(has(han4, 0x6F22) && has(han4, 0x6C49));  // 漢 汉
  EXPECT_FALSE(has(han4, 0x97E9));                      // 韩 is hán
  EXPECT_TRUE(has(ix().byReading("zi4"), 0x5B57));
  EXPECT_TRUE(has(ix().byReading("lv3"), 0x65C5));  // 旅 lǚ
  EXPECT_TRUE(has(ix().byReading("kan", kelvorn::kJapaneseOn), 0x6F22));
  // A prefix finds what every syllable that begins so finds, together.
  const std::vector<char32_t> zh = ix().byReading("zh", kelvorn::kMandarin,
                                                  kelvorn::ReadingMatch::kPrefix);
  std::set<char32_t> zhSyllables;
  for (const char* syllable : {"zha", "zhai", "zhan", "zhang", "zhao", "zhe", "zhei", "zhen",
                               "zheng", "zhi", "zhong", "zhou", "zhu", "zhua", "zhuai", "zhuan",
                               "zhuang", "zhui", "zhun", "zhuo"}) {
    for (const char32_t cp : ix().byReading(syllable)) zhSyllables.insert(cp);
  }
  EXPECT_EQ(std::set<char32_t>(zh.begin(), zh.end()), zhSyllables);
  EXPECT_EQ(std::set<char32_t>(zh.begin(), zh.end()).size(), zh.size());
  EXPECT_TRUE(has(zh, U'中') && has(zh, U'这'));
  EXPECT_TRUE(ix().lessUtf8("\xE5\xAD\x97", "\xE6\xB0\xB4"));  // 字 (39) before 水 (85)
}

INSTANTIATE_TEST_SUITE_P(Releases, IndexRealData, testing::Values(kUnicode17, kUnicode15),
                         [](const testing::TestParamInfo<Release>& info) {
                           return std::string(info.param.name);
                         });

// Marked radicals (210''.2) are filed with their residual, and a source the
// release does not carry has empty pages.
TEST(IndexUnicode17, MarkedRadicalsAndMissingSources) {
  const UnihanIndex& ix = indexOf(kUnicode17);
  EXPECT_TRUE(has(residualGroup(ix, 210, 2), 0x5264));   // 剤
  EXPECT_FALSE(has(residualGroup(ix, 210, 0), 0x5264));
  EXPECT_TRUE(has(residualGroup(ix, 211, 5), 0x9F62));   // 齢
  EXPECT_TRUE(ix.contains(0x323B0));
  for (int radical = 1; radical <= 214; ++radical) {
    EXPECT_TRUE(ix.byRadical(radical, kelvorn::kRSKangXi).empty()) << radical;
  }
  EXPECT_FALSE(indexOf(kUnicode15).byRadical(85, kelvorn::kRSKangXi).empty());
}

}  // namespace
