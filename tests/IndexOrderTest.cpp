// The radical-stroke order's rules, each on a small store of our own: the
// radical's apostrophes, the main block before the extensions, compatibility
// ideographs as their canonical equivalents, negative residuals, characters
// without a value and strings that mix in other characters; and the byte
// sort keys, which must order exactly as the comparators do.
#include <algorithm>
#include <string>
#include <vector>

#include "IndexTestSupport.h"

namespace {

using Entries = indextest::Page;
using indextest::entries;
using indextest::extrasOf;
using kelvorn::RadicalStrokeExtras;
using kelvorn::SortOrder;
using kelvorn::UnihanIndex;
using kelvorn::UnihanMgr;

// Real values, except U+F967's own (the real data, too, gives a few
// compatibility ideographs values of their own) and the U+FA0E, U+20000
// ties.
constexpr char kText[] =
    "U+3400\tkRSUnicode\t1.4\n"
    "U+4E03\tkTotalStrokes\t2\n"
    "U+4E0D\tkRSUnicode\t1.3\nU+4E0D\tkTotalStrokes\t4\n"
    "U+4E15\tkRSUnicode\t1.4\n"
    "U+7389\tkRSUnicode\t96.0\n"
    "U+738B\tkRSUnicode\t96.-1\n"
    "U+7CF8\tkRSUnicode\t120.0\n"
    "U+7D05\tkRSUnicode\t120.3\n"
    "U+7E9F\tkRSUnicode\t120'.0\n"
    "U+7EA2\tkRSUnicode\t120'.3\n"
    "U+F967\tkRSUnicode\t9.9\nU+F967\tkCompatibilityVariant\tU+4E0D\nU+F967\tkTotalStrokes\t4\n"
    "U+FA0E\tkRSUnicode\t1.4\n"
    "U+20000\tkRSUnicode\t1.4\n";

class IndexOrderTest : public testing::Test {
 protected:
  void SetUp() override { mgr_ = indextest::storeOf(kText); }
  UnihanMgr mgr_;
};

std::vector<std::u32string> sortedBy(const UnihanIndex& ix, std::vector<std::u32string> words,
                                     SortOrder order = SortOrder::kRadicalStroke) {
  std::stable_sort(words.begin(), words.end(), [&](const auto& a, const auto& b) {
    return ix.less(a, b, order);
  });
  return words;
}

TEST_F(IndexOrderTest, RulesOfTheOrder) {
  const UnihanIndex ix(mgr_, extrasOf(kText));
  // 不 (1.3); the main block's 丕 and the unified U+FA0E, then Extension A
  // and B (all 1.4); 玉 96.0 and 王 96.-1 (a negative residual counts as 0);
  // radical 120's page, then the simplified radical 120''s.
  const std::vector<std::u32string> order = {U"\u4E0D", U"\u4E15", U"\uFA0E", U"\u3400",
                                             U"\U00020000", U"\u7389", U"\u738B", U"\u7CF8",
                                             U"\u7D05", U"\u7E9F", U"\u7EA2"};
  std::vector<std::u32string> shuffled(order.rbegin(), order.rend());
  EXPECT_EQ(sortedBy(ix, shuffled), order);
  // U+F967 sorts as U+4E0D, whatever its own value says: a tie.
  EXPECT_FALSE(ix.less(U"\uF967", U"\u4E0D"));
  EXPECT_FALSE(ix.less(U"\u4E0D", U"\uF967"));
  EXPECT_EQ(ix.sortKey(U"\uF967"), ix.sortKey(U"\u4E0D"));
  EXPECT_TRUE(ix.radicalStrokeKey(0xF967) == ix.radicalStrokeKey(0x4E0D));
  EXPECT_EQ(ix.radicalStrokeKey(0xF967).sortsAs, U'\u4E0D');
  EXPECT_EQ(ix.radicalStrokeKey(0x7E9F).marks, 1);
  EXPECT_EQ(ix.radicalStrokeKey(0x738B).residual, -1);
  // Held without a value (U+4E03) and not held ('A', '1'): after every
  // character with one, by code point; a prefix first.
  EXPECT_EQ(sortedBy(ix, {U"\u4E03", U"A", U"\u7EA2A", U"1", U"\u7EA2", U"A\u4E0D"}),
            (std::vector<std::u32string>{U"\u7EA2", U"\u7EA2A", U"1", U"A", U"A\u4E0D",
                                         U"\u4E03"}));
}

TEST_F(IndexOrderTest, SimplifiedRadicalsHaveAPartOfTheirOwn) {
  const UnihanIndex ix(mgr_, extrasOf(kText));
  // 120's own characters, then 120''s, each by residual.
  EXPECT_EQ(entries(ix.byRadical(120)),
            (Entries{{0x7CF8, 0}, {0x7D05, 3}, {0x7E9F, 0}, {0x7EA2, 3}}));
  EXPECT_EQ(entries(ix.byRadicalForm(120, 1)), (Entries{{0x7E9F, 0}, {0x7EA2, 3}}));
  EXPECT_EQ(entries(ix.byRadicalForm(120, 0)), (Entries{{0x7CF8, 0}, {0x7D05, 3}}));
  EXPECT_TRUE(ix.byRadicalForm(120, 2).empty());
  EXPECT_TRUE(ix.byRadicalForm(0, 0).empty());
  EXPECT_TRUE(ix.byRadicalForm(215, 1).empty());
  // Without extras the marks are unknown: one part, by residual.
  EXPECT_EQ(entries(UnihanIndex(mgr_).byRadical(120)),
            (Entries{{0x7CF8, 0}, {0x7E9F, 0}, {0x7D05, 3}, {0x7EA2, 3}}));
}

TEST_F(IndexOrderTest, WithoutExtrasTheMarksAreUnknown) {
  const UnihanIndex ix(mgr_);
  // 纟 reads as 120.0, so it stands before 紅 120.3; U+F967 keeps its own.
  EXPECT_TRUE(ix.less(U"\u7E9F", U"\u7D05"));
  EXPECT_TRUE(ix.less(U"\u4E15", U"\uF967"));  // 1.4 before its own 9.9
  // Marks that name another radical than the store's first value are not
  // taken.
  RadicalStrokeExtras other;
  ASSERT_TRUE(other.addRSUnicode(0x7E9F, "121'.0"));
  EXPECT_EQ(UnihanIndex(mgr_, other).radicalStrokeKey(0x7E9F).marks, 0);
}

// Extras about characters the store does not hold, marks on a second
// kRSUnicode value, and a variant given twice.
TEST_F(IndexOrderTest, ExtrasBeyondTheStoreAndRepeated) {
  RadicalStrokeExtras extras = extrasOf(kText);
  ASSERT_TRUE(extras.addRSUnicode(0x9999, "120'.0"));           // not held
  ASSERT_TRUE(extras.addCompatibilityVariant(0x9998, "U+4E0D"));  // not held
  ASSERT_TRUE(extras.addCompatibilityVariant(0xFA0E, "U+9997"));  // a target not held
  ASSERT_TRUE(extras.addCompatibilityVariant(0xF967, "U+7389"));  // the first one stands
  const UnihanIndex ix(mgr_, extras);
  EXPECT_FALSE(ix.contains(0x9999));
  EXPECT_EQ(ix.radicalStrokeKey(0xF967).sortsAs, U'\u4E0D');
  EXPECT_EQ(ix.radicalStrokeKey(0xFA0E).radical, 1);
  EXPECT_EQ(ix.radicalStrokeKey(0xFA0E).residual, 4);

  // A character whose second kRSUnicode value names a simplified radical
  // stands in that form's part, and once on each page; a value repeated
  // apart from its twin is filed once.
  const UnihanMgr second = indextest::storeOf("U+7E9F\tkRSUnicode\t9.3 120'.0\n"
                                              "U+6C34\tkRSUnicode\t85.0 85.0\n"
                                              "U+6C34\tkRSKangXi\t85.0\n"
                                              "U+10FFFF\tkRSUnicode\t85.0\n");  // the code space's last
  RadicalStrokeExtras marks;
  ASSERT_TRUE(marks.addRSUnicode(0x7E9F, "9.3 120'.0"));
  const UnihanIndex both(second, marks);
  EXPECT_EQ(entries(both.byRadicalForm(120, 1)), (Entries{{0x7E9F, 0}}));
  EXPECT_TRUE(both.byRadicalForm(120, 0).empty());
  EXPECT_EQ(entries(both.byRadical(9)), (Entries{{0x7E9F, 3}}));
  EXPECT_EQ(entries(both.byRadical(85)), (Entries{{0x6C34, 0}, {0x10FFFF, 0}}));
  EXPECT_EQ(entries(both.byRadicalForm(85, 0)), (Entries{{0x6C34, 0}, {0x10FFFF, 0}}));
}

TEST_F(IndexOrderTest, SortKeysOrderAsTheComparators) {
  const UnihanIndex ix(mgr_, extrasOf(kText));
  const std::vector<std::u32string> words = {
      U"",        U"\u4E0D",       U"\uF967",      U"\u4E0D\u4E0D", U"\u4E0D\uF967",
      U"\u3400",  U"\U00020000",   U"\u7389\u738B", U"\u738B\u7389", U"\u7E9F",
      U"\u7CF8A", U"A",            U"\u4E03",      U"\U0010FFFF",   U"\u7EA2\u4E03",
      // A tie decided by the second character.
      U"\uF967\u3400", U"\u4E0D\u4E15",
      // Past U+10FFFF: after everything, and alike.
      std::u32string(1, char32_t{0x110000}), std::u32string(1, char32_t{0xFFFFFFFF})};
  for (const SortOrder order : {SortOrder::kRadicalStroke, SortOrder::kTotalStrokes}) {
    const std::size_t width = order == SortOrder::kRadicalStroke ? 3 : 5;
    for (const auto& a : words) {
      EXPECT_EQ(ix.sortKey(a, order).size(), a.size() * width);
      for (const auto& b : words) {
        EXPECT_EQ(ix.less(a, b, order), ix.sortKey(a, order) < ix.sortKey(b, order));
      }
    }
  }
  // Past U+10FFFF: one code point past it without a value, and no strokes.
  const std::u32string past{char32_t{0x110000}, char32_t{0xFFFFFFFF}};
  EXPECT_EQ(ix.sortKey(past), std::string("\x91\0\0\x91\0\0", 6));
  EXPECT_EQ(ix.sortKey(past.substr(1), SortOrder::kTotalStrokes), std::string("\x01\0\x91\0\0", 5));
  EXPECT_EQ(ix.sortKey(U"\U0010FFFF"), "\x90\xFF\xFF");  // unheld: its own code point
  EXPECT_EQ(ix.sortKeyUtf8("\xE4\xB8\x8D" "A"), ix.sortKey(U"\u4E0DA"));
  EXPECT_THROW(ix.sortKeyUtf8("\xE4\xB8"), kelvorn::Error);
  std::string appended = "x";
  ix.appendSortKey(U"\u4E0D", SortOrder::kRadicalStroke, &appended);
  EXPECT_EQ(appended, "x" + ix.sortKey(U"\u4E0D"));
  // Without kTotalStrokes, by the radical-stroke key: the first held code
  // point (U+3400, 1.4) before 玉 (96.0), and both after 不 (4 strokes).
  EXPECT_EQ(sortedBy(ix, {U"\u7389", U"\u3400", U"\u4E0D"}, SortOrder::kTotalStrokes),
            (std::vector<std::u32string>{U"\u4E0D", U"\u3400", U"\u7389"}));
  // Total strokes first: 不 and U+F967 (4) tie, U+4E03 (2) goes before them.
  EXPECT_EQ(sortedBy(ix, {U"\uF967", U"\u4E0D", U"\u4E03"}, SortOrder::kTotalStrokes),
            (std::vector<std::u32string>{U"\u4E03", U"\uF967", U"\u4E0D"}));
}

TEST(RadicalStrokeExtras, ReadsWholeValuesOnly) {
  RadicalStrokeExtras extras;
  // Odd values are in RadicalStrokeGrammarTest; a refused value adds none of its pieces.
  EXPECT_TRUE(extras.addRSUnicode(0x9F9F, "211''.5 1.-2"));
  EXPECT_FALSE(extras.addRSUnicode(0x4E00, "1.2 x"));
  EXPECT_FALSE(extras.addRSUnicode(0x110000, "1.0"));
  EXPECT_TRUE(extras.addRSUnicode(0x10FFFF, "1.0"));
  EXPECT_EQ(extras.values().size(), 3u);
  EXPECT_TRUE(extras.addCompatibilityVariant(0xF967, "U+4E0D"));
  EXPECT_TRUE(extras.addCompatibilityVariant(0x2F800, "U+4E3D"));
  EXPECT_TRUE(extras.addCompatibilityVariant(0x10FFFF, "U+10FFFF"));
  for (const char* bad : {"", "U+", "U+4E0", "4E0D", "U+4e0d", "U+110000", "U+4E0D ", "U+0004E0D"}) {
    EXPECT_FALSE(extras.addCompatibilityVariant(0xF967, bad)) << bad;
  }
  EXPECT_EQ(extras.variants().size(), 3u);
}

}  // namespace
