// The bundled Unicode 15.0 Unihan database: well-known characters, and the
// round trip through the binary image answering every query as before.
#include <memory>

#include "ImageBytes.h"
#include "TestSupport.h"

using namespace kelvorn;
using namespace testsupport;

namespace {

class RealData : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    text = std::make_unique<UnihanMgr>();
    ASSERT_EQ(text->readUnihan(CPath(KELVORN_TEST_DATA)), 0);
  }
  static void TearDownTestSuite() { text.reset(); }

  static std::unique_ptr<UnihanMgr> text;
};
std::unique_ptr<UnihanMgr> RealData::text;

// The code points of the twelve blocks the file makes.
const std::pair<int, int> kBlocks[] = {
    {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xF900, 0xFA6D},   {0xFA70, 0xFAD9},
    {0x20000, 0x2A6DF}, {0x2A700, 0x2B739}, {0x2B740, 0x2B81D}, {0x2B820, 0x2CEA1},
    {0x2CEB0, 0x2EBE0}, {0x2F800, 0x2FA1D}, {0x30000, 0x3134A}, {0x31350, 0x323AF}};

TEST_F(RealData, WellKnownCharacters) {
  UnihanMgr& m = *text;
  EXPECT_TRUE(m.IsValid());
  EXPECT_EQ(m.radix(0x6F22, 0), 85);
  EXPECT_EQ(m.stroke(0x6F22, 0), 3);
  EXPECT_EQ(m.radix(0x6F22, kRSUnicode, 0), 85);
  EXPECT_EQ(m.stroke(0x6F22, kRSUnicode, 0), 11);
  EXPECT_EQ(m.totalStrokes(0x6F22), 14);
  EXPECT_EQ(m.getVantuCID(0x6F22, 0), 1533);
  EXPECT_EQ(m.totalVantuStrokes(0x6F22, 0), 13);
  EXPECT_EQ(m.getUTF32ForCID(1533), 0x6F22);
  EXPECT_EQ(readings(m, 0x6F22, kMandarin), std::vector<std::string>{"hàn"});
  EXPECT_EQ(readings(m, 0x6F22, kHanyuPinlu), std::vector<std::string>{"hàn"});
  EXPECT_EQ(readings(m, 0x6F22, kJapaneseKun), std::vector<std::string>{"KARA"});
  EXPECT_EQ(readings(m, 0x6F22, kJapaneseOn), std::vector<std::string>{"KAN"});
  int v, p, pos, virt;
  ASSERT_EQ(m.getkHanYuData(0x6F22, &v, &p, &pos, &virt), 0);
  EXPECT_EQ(std::vector<int>({v, p, pos, virt}), std::vector<int>({3, 1713, 9, 0}));
  EXPECT_EQ(m.getNumVals(0x5B57, kRSVantu_Japan1_6), 2);
  EXPECT_EQ(m.getNumVals(0x3687, kRSUnicode), 2);
  EXPECT_EQ(m.radix(0x4336, kRSUnicode, 0), 120);
  EXPECT_EQ(m.stroke(0x4336, kRSUnicode, 0), 3);
  EXPECT_EQ(m.totalStrokes(0x4E00), 1);
}

TEST_F(RealData, TwelveBlocks) {
  for (const auto& [first, last] : kBlocks) {
    EXPECT_EQ(text->getNumVals(first - 1, kMandarin), -1) << std::hex << first;
    EXPECT_GE(text->getNumVals(first, kMandarin), 0) << std::hex << first;
    EXPECT_GE(text->getNumVals(last, kMandarin), 0) << std::hex << last;
    EXPECT_EQ(text->getNumVals(last + 1, kMandarin), -1) << std::hex << last;
  }
}

TEST_F(RealData, ImageRoundTripAnswersEveryQueryAsBefore) {
  const std::string image = writeImage(*text);
  ASSERT_EQ(image.size(), 2134682u);
  EXPECT_EQ(writeImage(*text, 0).size(), 9592788u);

  UnihanMgr fromBuffer, fromFile, fromBigEndian;
  ASSERT_EQ(loadBuffer(fromBuffer, image, image.size()), 2134682);
  ASSERT_EQ(fromFile.readUnihanBinary(CPath(tempPath("image.bin"))), 0);
  const std::string bigEndian = toBigEndian(image);
  ASSERT_EQ(loadBuffer(fromBigEndian, bigEndian, bigEndian.size()), 2134682);
  for (UnihanMgr* loaded : {&fromBuffer, &fromFile, &fromBigEndian}) {
    EXPECT_TRUE(loaded->IsValid());
    EXPECT_TRUE(loaded->VersionCheck(1, 4));
    EXPECT_EQ(writeImage(*loaded), image);
  }
  int mismatches = 0;
  for (const auto& [first, last] : kBlocks) {
    for (int cp = first - 2; cp <= last + 2 && mismatches < 5; ++cp) {
      const std::string expected = describe(*text, cp);
      mismatches += expected != describe(fromBuffer, cp) || expected != describe(fromFile, cp);
      EXPECT_EQ(describe(fromBuffer, cp), expected) << std::hex << cp;
    }
  }
  EXPECT_EQ(mismatches, 0);
  for (unsigned int cid = 0; cid < 70000; ++cid) {
    ASSERT_EQ(fromBuffer.getUTF32ForCID(cid), text->getUTF32ForCID(cid)) << cid;
    ASSERT_EQ(fromBigEndian.getUTF32ForCID(cid), text->getUTF32ForCID(cid)) << cid;
  }
}

}  // namespace
