// The range lookup on block lists far larger than real data gives: the
// first enclosing block answers, however many blocks there are and however
// they lie. Speed on these stores is measured in bench/, not here.
#include "ImageBytes.h"
#include "TestSupport.h"

using kelvorn::UnihanMgr;
using testsupport::imageHeader;
using testsupport::loadBuffer;
using testsupport::loadText;
using testsupport::put16;
using testsupport::put32;

namespace {

// A block of one character record (total strokes only, no reading set, no
// HanYu record).
std::string oneRecordBlock(std::int32_t first, std::int32_t last, std::uint8_t totalStrokes) {
  std::string b;
  put32(&b, static_cast<std::uint32_t>(first));
  put32(&b, static_cast<std::uint32_t>(last));
  put16(&b, 1);
  put16(&b, 0);
  put16(&b, 0);
  b += static_cast<char>(totalStrokes);
  b += std::string(3, '\0');  // flags, pair count, CID count
  return b;
}

std::uint8_t strokesOf(int i) { return static_cast<std::uint8_t>(i % 250 + 1); }

TEST(Lookup, SeventyThousandSortedBlocks) {
  constexpr int kBlocks = 70000;
  constexpr int kBase = 0x20000;
  std::string text;
  for (int i = 0; i < kBlocks; ++i) {
    text += testsupport::dataLine(kBase + 2 * i, "kTotalStrokes", std::to_string(strokesOf(i)));
  }
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr, text), 0);
  for (int i = 0; i < kBlocks; ++i) {
    ASSERT_EQ(mgr.totalStrokes(kBase + 2 * i), strokesOf(i)) << i;
    ASSERT_EQ(mgr.totalStrokes(kBase + 2 * i + 1), -1) << i;  // the gap after each block
  }
  EXPECT_EQ(mgr.totalStrokes(kBase - 1), -1);
  EXPECT_EQ(mgr.totalStrokes(0), -1);
  EXPECT_EQ(mgr.totalStrokes(0x10FFFF), -1);
}

// Blocks nested one inside the next: block j covers base - j .. base + j and
// holds one record, for base - j. Listed innermost first, block k answers
// for base - k and base + k; listed outermost first, the outermost answers
// for all of them, and has a record only for its own first code point.
TEST(Lookup, NestedBlocksInEitherOrder) {
  constexpr int kBlocks = 32767;
  constexpr int kBase = 0x40000;
  for (const bool innermostFirst : {true, false}) {
    std::string image = imageHeader(kBlocks);
    for (int i = 0; i < kBlocks; ++i) {
      const int j = innermostFirst ? i : kBlocks - 1 - i;
      image += oneRecordBlock(kBase - j, kBase + j, strokesOf(j));
    }
    UnihanMgr mgr;
    ASSERT_EQ(loadBuffer(mgr, image, image.size()), static_cast<int>(image.size()));
    for (int k = 0; k < kBlocks; ++k) {
      const int below = mgr.totalStrokes(kBase - k);
      if (innermostFirst) {
        ASSERT_EQ(below, strokesOf(k)) << k;
      } else {
        ASSERT_EQ(below, k == kBlocks - 1 ? strokesOf(k) : -1) << k;
      }
      // Above the base no block has a record, except the innermost's own.
      ASSERT_EQ(mgr.totalStrokes(kBase + k), k == 0 && innermostFirst ? strokesOf(0) : -1) << k;
      ASSERT_EQ(mgr.getNumVals(kBase + k, kelvorn::kMandarin), 0) << k;  // enclosed all the same
    }
    EXPECT_EQ(mgr.getNumVals(kBase - kBlocks, kelvorn::kMandarin), -1);
    EXPECT_EQ(mgr.getNumVals(kBase + kBlocks, kelvorn::kMandarin), -1);
  }
}

}  // namespace
