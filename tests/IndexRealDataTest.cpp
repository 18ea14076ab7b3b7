// The companion index over the bundled Unihan 15.0 data: a few answers a
// dictionary user knows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "kelvorn/UnihanIndex.h"

namespace {

using kelvorn::UnihanIndex;

class IndexRealData : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    kelvorn::UnihanMgr mgr;
    std::string path = KELVORN_TEST_DATA;
    ASSERT_EQ(mgr.readUnihan(path.data()), 0);
    index_ = new UnihanIndex(mgr);
  }
  static void TearDownTestSuite() {
    delete index_;
    index_ = nullptr;
  }
  static const UnihanIndex& ix() { return *index_; }

 private:
  static UnihanIndex* index_;
};

UnihanIndex* IndexRealData::index_ = nullptr;

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

TEST_F(IndexRealData, KnownAnswers) {
  EXPECT_EQ(ix().codePoints().size(), 98060U);
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
  EXPECT_TRUE(ix().lessUtf8("\xE5\xAD\x97", "\xE6\xB0\xB4"));  // 字 (39) before 水 (85)
}

}  // namespace
