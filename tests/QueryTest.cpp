// The -1 and 0 answers of the queries, and the preference list.
#include "TestSupport.h"

using namespace kelvorn;
using testsupport::dataLine;
using testsupport::loadBuffer;
using testsupport::loadText;
using testsupport::writeImage;
using testsupport::readings;

namespace {

class QueryTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(loadText(mgr,
                       "U+6F22\tkRSUnicode\t85.11\nU+6F22\tkRSKangXi\t85.12\n"
                       "U+6F22\tkRSVantu_Japan1_6\tC+1533+85.3.10 V+1534+86.4.9\n"
                       "U+6F22\tkTotalStrokes\t14\n"
                       "U+6F23\tkRSJapanese\t9.0\nU+6F23\tkMandarin\tx\n"),
              0);
  }
  UnihanMgr mgr;
};

TEST_F(QueryTest, RadixAndStrokeBySource) {
  EXPECT_EQ(mgr.radix(0x6F22, kRSKangXi, 0), 85);
  EXPECT_EQ(mgr.stroke(0x6F22, kRSKangXi, 0), 12);
  EXPECT_EQ(mgr.radix(0x6F22, kRSVantu_Japan1_6, 1), 86);
  EXPECT_EQ(mgr.stroke(0x6F22, kRSVantu_Japan1_6, 1), 4);  // strokes of the radical form
  EXPECT_EQ(mgr.radix(0x6F22, kRSKangXi, 1), 85);  // sources 1 to 4 ignore the index
  EXPECT_EQ(mgr.radix(0x6F22, kRSUnicode, 1), -1);
  EXPECT_EQ(mgr.radix(0x6F22, kRSKorean, 0), -1);
  EXPECT_EQ(mgr.radix(0x6F22, kRSUnicode, -1), 85);  // only index 1 asks for the second
  EXPECT_EQ(mgr.radix(0x6F22, kRSVantu_Japan1_6, -1), -1);
  EXPECT_EQ(mgr.radix(0x6F22, kTotalStrokes, 0), -1);
  EXPECT_EQ(mgr.radix(0x6F22, static_cast<unihanPropT>(-1), 0), -1);
  EXPECT_EQ(mgr.radix(0x6F24, kRSUnicode, 0), -1);
  EXPECT_EQ(mgr.radix(-5, kRSUnicode, 0), -1);
}

TEST_F(QueryTest, PreferenceOrder) {
  EXPECT_EQ(mgr.radix(0x6F22, 0), 85);  // kRSVantu_Japan1_6 first by default
  EXPECT_EQ(mgr.stroke(0x6F22, 0), 3);
  EXPECT_EQ(mgr.stroke(0x6F22, 1), 4);
  EXPECT_EQ(mgr.radix(0x6F23, 0), 9);   // falls through to kRSJapanese
  EXPECT_EQ(mgr.stroke(0x6F23, 1), 0);   // a 0 is an answer too
  EXPECT_EQ(mgr.stroke(0x6F22, 2), 12);  // no third CID: kRSKangXi answers

  unihanPropT pref[6] = {kRSKangXi, static_cast<unihanPropT>(-1), kRSUnicode,
                         kRSKangXi, kRSKangXi, kRSKangXi};
  mgr.setRadixStrokeSourcePref(pref);
  EXPECT_EQ(mgr.stroke(0x6F22, 0), 12);
  EXPECT_EQ(mgr.radix(0x6F23, 0), -1);  // kRSJapanese is no longer consulted
  UnihanMgr copy(mgr);                  // the list belongs to the shared store
  EXPECT_EQ(copy.stroke(0x6F22, 0), 12);
}

TEST_F(QueryTest, CidQueries) {
  EXPECT_EQ(mgr.getVantuCID(0x6F22, 1), 1534);
  EXPECT_EQ(mgr.totalVantuStrokes(0x6F22, 0), 13);
  EXPECT_EQ(mgr.totalVantuStrokes(0x6F22, 2), -1);
  EXPECT_EQ(mgr.getVantuCID(0x6F22, -1), -1);
  EXPECT_EQ(mgr.getVantuCID(0x6F23, 0), -1);
  EXPECT_EQ(mgr.totalVantuStrokes(0x6F23, 0), -1);
  EXPECT_EQ(mgr.getUTF32ForCID(1534), 0x6F22);
  EXPECT_EQ(mgr.getUTF32ForCID(1535), -1);
  EXPECT_EQ(mgr.getUTF32ForCID(0xFFFFFFFFu), -1);
}

TEST_F(QueryTest, CountsReadingsAndHanYu) {
  EXPECT_EQ(mgr.totalStrokes(0x6F22), 14);
  EXPECT_EQ(mgr.totalStrokes(0x6F23), 0);
  EXPECT_EQ(mgr.getNumVals(0x6F22, kRSUnicode), 0);  // one value counts as 0
  EXPECT_EQ(mgr.getNumVals(0x6F22, kRSVantu_Japan1_6), 2);
  EXPECT_EQ(mgr.getNumVals(0x6F22, kRSKangXi), 0);
  EXPECT_EQ(mgr.getNumVals(0x6F22, kHanYu), 0);
  EXPECT_EQ(mgr.getNumVals(0x6F23, kMandarin), 1);
  EXPECT_EQ(mgr.getNumVals(0x6F24, kMandarin), -1);

  std::vector<std::string> out{"x"};
  mgr.getPronounceData(out, 0x6F23, kTotalStrokes);
  mgr.getPronounceData(out, 0x6F24, kMandarin);
  mgr.getPronounceData(out, 0x6F23, static_cast<unihanPropT>(99));
  EXPECT_EQ(out.size(), 1u);

  int v = -7, p = -7, pos = -7, virt = -7;
  ASSERT_EQ(mgr.getkHanYuData(0x6F22, &v, &p, &pos, &virt), 0);  // a record of zeros
  EXPECT_EQ(v + p + pos + virt, 0);
  v = -7;
  EXPECT_EQ(mgr.getkHanYuData(0x6F24, &v, &p, &pos, &virt), -1);
  EXPECT_EQ(mgr.getkHanYuData(0xFFFFFFFFu, &v, &p, &pos, &virt), -1);
  EXPECT_EQ(v, -7);  // nothing written
}

const char* const kPairSourceNames[] = {"kRSUnicode", "kRSKangXi", "kRSKanWa", "kRSKorean",
                                        "kRSJapanese"};

// Every set of sources 0 to 4, one code point each (U+7100 + the set's
// bits), some with a second kRSUnicode value: each source reads its own
// pair wherever the others put it, before and after the image, and the
// highest of them answers by default (PreferenceOrder: kRSVantu_Japan1_6
// above them all).
TEST(Preference, EveryCombinationOfPairSources) {
  std::string text;
  for (int mask = 0; mask < 32; ++mask) {
    text += dataLine(0x7100 + mask, "kTotalStrokes", "1");
    for (int s = 0; s < 5; ++s) {
      if ((mask >> s & 1) == 0) continue;
      const std::string pair = std::to_string(10 + s) + "." + std::to_string(s);
      text += dataLine(0x7100 + mask, kPairSourceNames[s], s == 0 && mask & 16 ? pair + " 20.7" : pair);
    }
  }
  UnihanMgr fromText, fromImage;
  ASSERT_EQ(loadText(fromText, text), 0);
  const std::string image = writeImage(fromText);
  ASSERT_EQ(loadBuffer(fromImage, image, image.size()), static_cast<int>(image.size()));
  for (UnihanMgr* mgr : {&fromText, &fromImage}) {
    for (int mask = 0; mask < 32; ++mask) {
      const int cp = 0x7100 + mask;
      int preferred = -1;
      for (int s = 0; s < 5; ++s) {
        const bool has = mask >> s & 1;
        EXPECT_EQ(mgr->radix(cp, static_cast<unihanPropT>(s), 0), has ? 10 + s : -1) << mask << '/' << s;
        EXPECT_EQ(mgr->stroke(cp, static_cast<unihanPropT>(s), 0), has ? s : -1) << mask << '/' << s;
        if (has) preferred = 10 + s;
      }
      EXPECT_EQ(mgr->radix(cp, 0), preferred) << mask;
      const bool second = (mask & 17) == 17;
      EXPECT_EQ(mgr->radix(cp, kRSUnicode, 1), second ? 20 : -1) << mask;
      EXPECT_EQ(mgr->stroke(cp, kRSUnicode, 1), second ? 7 : -1) << mask;
    }
  }
}

}  // namespace
