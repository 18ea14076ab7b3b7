// The companion index over small stores of our own: radical pages, stroke
// lists, reading lookups, sort keys and the string comparators.
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "IndexTestSupport.h"

namespace {

using indextest::Cps;
using indextest::indexOf;
using indextest::Page;
using kelvorn::Reading;
using kelvorn::ReadingMatch;
using kelvorn::SortOrder;
using kelvorn::Source;
using kelvorn::UnihanIndex;
using kelvorn::UnihanMgr;

Page page(const UnihanIndex& ix, int radical, Source source = Source::kRSUnicode) {
  return indextest::entries(ix.byRadical(radical, source));
}

TEST(IndexTest, RadicalPagesOrderByResidualThenCodePoint) {
  const UnihanIndex ix = indexOf(
      "U+6C34\tkRSUnicode\t85.3\n"
      "U+6C35\tkRSUnicode\t85.0\n"
      "U+6C36\tkRSUnicode\t85.3\nU+6C36\tkRSKangXi\t85.2\n"
      "U+6C37\tkRSUnicode\t85.1\n"
      "U+6C38\tkRSUnicode\t214.0\n"
      "U+6C39\tkRSUnicode\t1.0\n"
      "U+6C3A\tkRSKorean\t85.4\n");
  EXPECT_EQ(page(ix, 85), (Page{{0x6C35, 0}, {0x6C37, 1}, {0x6C34, 3}, {0x6C36, 3}}));
  EXPECT_EQ(page(ix, 85, Source::kRSKangXi), (Page{{0x6C36, 2}}));
  EXPECT_EQ(page(ix, 85, Source::kRSKorean), (Page{{0x6C3A, 4}}));
  // The first and the last radical have their pages, whole and by form.
  EXPECT_EQ(page(ix, 1), (Page{{0x6C39, 0}}));
  EXPECT_EQ(page(ix, 214), (Page{{0x6C38, 0}}));
  EXPECT_EQ(ix.byRadicalForm(1, 0).size(), 1U);
  EXPECT_EQ(ix.byRadicalForm(214, 0).size(), 1U);
  // Outside 1..214, or a property that is no radical-stroke source.
  EXPECT_TRUE(ix.byRadical(0).empty());
  EXPECT_TRUE(ix.byRadical(215).empty());
  EXPECT_TRUE(ix.byRadical(-85).empty());
  EXPECT_TRUE(ix.byRadical(85, static_cast<Source>(kelvorn::kTotalStrokes)).empty());
  EXPECT_TRUE(ix.byRadical(85, static_cast<Source>(-1)).empty());
}

TEST(IndexTest, SecondRSUnicodeValueCountsButNotForTheKey) {
  const UnihanIndex ix = indexOf(
      "U+4E00\tkRSUnicode\t75.8 75.9\n"
      "U+4E01\tkRSUnicode\t9.2 162.3\n"
      "U+4E02\tkRSUnicode\t75.8 75.8\n");
  EXPECT_EQ(page(ix, 75), (Page{{0x4E00, 8}, {0x4E02, 8}, {0x4E00, 9}}));
  EXPECT_EQ(page(ix, 9), (Page{{0x4E01, 2}}));
  EXPECT_EQ(page(ix, 162), (Page{{0x4E01, 3}}));
  const kelvorn::RadicalStrokeKey key = ix.radicalStrokeKey(0x4E01);
  EXPECT_TRUE(key.hasValue);
  EXPECT_EQ(key.radical, 9);
  EXPECT_EQ(key.residual, 2);
}

TEST(IndexTest, EveryCidValueCountsWithItsOwnResidual) {
  // 字: one CID under two radicals. A value's residual is the glyph's strokes
  // less the radical form's: 85.3.10 is 10 residual strokes, not 3.
  const UnihanIndex ix = indexOf(
      "U+5B57\tkRSUnicode\t39.3\nU+5B57\tkRSVantu_Japan1_6\tC+2248+39.3.3 C+2248+40.3.3\n"
      "U+6F22\tkRSVantu_Japan1_6\tC+1533+85.3.10 V+13393+85.3.11\n");
  const auto vantu = Source::kRSVantu_Japan1_6;
  EXPECT_EQ(page(ix, 39, vantu), (Page{{0x5B57, 3}}));
  EXPECT_EQ(page(ix, 40, vantu), (Page{{0x5B57, 3}}));
  EXPECT_EQ(page(ix, 85, vantu), (Page{{0x6F22, 10}, {0x6F22, 11}}));
  EXPECT_TRUE(page(ix, 40).empty());
}

TEST(IndexTest, StoredResidualsOf128AndAboveReadAsNegative) {
  EXPECT_EQ(kelvorn::signedResidual(0), 0);
  EXPECT_EQ(kelvorn::signedResidual(127), 127);
  EXPECT_EQ(kelvorn::signedResidual(128), -128);
  EXPECT_EQ(kelvorn::signedResidual(255), -1);
  const UnihanIndex ix = indexOf(
      "U+5DDB\tkRSUnicode\t47.0\n"
      "U+5DDC\tkRSUnicode\t47.-1\nU+5DDC\tkTotalStrokes\t2\n"
      "U+5DDD\tkRSUnicode\t47.-2\nU+5DDD\tkTotalStrokes\t2\n"
      "U+5DDE\tkRSUnicode\t47.-128\nU+5DDF\tkRSUnicode\t47.127\n");  // the byte's ends
  EXPECT_EQ(page(ix, 47), (Page{{0x5DDE, -128}, {0x5DDD, -2}, {0x5DDC, -1}, {0x5DDB, 0}, {0x5DDF, 127}}));
  EXPECT_EQ(ix.radicalStrokeKey(0x5DDC).residual, -1);
  // The page puts them first; the radical-stroke order, as the Unihan
  // collation does, takes a negative residual as 0.
  EXPECT_EQ(ix.byTotalStrokes(2), (Cps{0x5DDC, 0x5DDD}));
}

TEST(IndexTest, TotalStrokesListsFollowTheRadicalStrokeKey) {
  const UnihanIndex ix = indexOf(
      "U+4E00\tkRSUnicode\t9.1\nU+4E00\tkTotalStrokes\t3\n"
      "U+4E01\tkTotalStrokes\t3\n"
      "U+4E02\tkRSUnicode\t1.2\nU+4E02\tkTotalStrokes\t3\n"
      "U+4E03\tkRSUnicode\t9.0\nU+4E03\tkTotalStrokes\t3\n"
      "U+4E04\tkRSUnicode\t1.2\nU+4E04\tkTotalStrokes\t3\n"
      "U+4E05\tkRSUnicode\t1.0\n"
      "U+4E06\tkTotalStrokes\t255\n");
  EXPECT_EQ(ix.byTotalStrokes(3), (Cps{0x4E02, 0x4E04, 0x4E03, 0x4E00, 0x4E01}));
  EXPECT_EQ(ix.byTotalStrokes(255), (Cps{0x4E06}));
  EXPECT_TRUE(ix.byTotalStrokes(0).empty());
  EXPECT_TRUE(ix.byTotalStrokes(256).empty());
  EXPECT_TRUE(ix.byTotalStrokes(-3).empty());
  // U+4E05 has no kTotalStrokes: in no list, and last in that order.
  const kelvorn::TotalStrokesKey none = ix.totalStrokesKey(0x4E05);
  EXPECT_FALSE(none.hasValue);
  EXPECT_EQ(none.totalStrokes, 0);
  EXPECT_TRUE(ix.totalStrokesKey(0x4E06) < none);
  EXPECT_TRUE(ix.totalStrokesKey(0x4E00) < ix.totalStrokesKey(0x4E06));
}

TEST(IndexTest, HeldCodePointsComeFromTheFirstEnclosingBlock) {
  UnihanMgr mgr = indextest::storeOf(
      "U+4E00\tkRSUnicode\t1.0\nU+4E01\tkRSUnicode\t1.1\nU+4E05\tkMandarin\tyī\n");
  // A second load appends blocks; where they overlap the first, the first
  // answers, as it does for every query of the store.
  ASSERT_EQ(testsupport::loadText(mgr, "U+4E01\tkRSUnicode\t2.0\nU+4E02\tkRSUnicode\t2.1\n"), 0);
  const UnihanIndex ix(mgr);
  EXPECT_EQ(ix.codePoints(), (Cps{0x4E00, 0x4E01, 0x4E02, 0x4E05}));
  EXPECT_TRUE(ix.contains(0x4E02));
  EXPECT_FALSE(ix.contains(0x4E03));
  EXPECT_FALSE(ix.contains(0x110000));
  EXPECT_EQ(page(ix, 1), (Page{{0x4E00, 0}, {0x4E01, 1}}));
  EXPECT_EQ(page(ix, 2), (Page{{0x4E02, 1}}));

  const UnihanIndex empty{UnihanMgr()};
  EXPECT_TRUE(empty.codePoints().empty());
  EXPECT_TRUE(empty.byRadical(1).empty());
  EXPECT_TRUE(empty.byReading("yi").empty());
  const kelvorn::TotalStrokesKey none = empty.totalStrokesKey(0x4E00);  // every part 0
  EXPECT_EQ(std::tie(none.hasValue, none.totalStrokes, none.radicalStroke.hasValue,
                     none.radicalStroke.radical, none.radicalStroke.residual),
            std::make_tuple(false, 0, false, 0, 0));
}

TEST(IndexTest, IndexKeepsTheStoreAndCopiesShareIt) {
  UnihanIndex copy = indexOf("U+4E00\tkMandarin\tyī\n");
  {
    const UnihanIndex original = indexOf("U+4E01\tkMandarin\tdīng\n");
    copy = original;
  }
  EXPECT_EQ(copy.readings(0x4E01, Reading::kMandarin), std::vector<std::string>{"dīng"});
  EXPECT_TRUE(copy.readings(0x4E01, static_cast<Reading>(kelvorn::kTotalStrokes)).empty());
  UnihanIndex moved = std::move(copy);
  EXPECT_EQ(moved.byReading("ding1"), (Cps{0x4E01}));
}

class ReadingTest : public testing::Test {
 protected:
  void SetUp() override {
    ix_ = std::make_unique<UnihanIndex>(indexOf(
        "U+3000\tkMandarin\thàn\n"
        "U+3001\tkMandarin\thán hàn\n"
        "U+3002\tkMandarin\than\n"
        "U+3003\tkMandarin\tlǚ\n"
        "U+3004\tkMandarin\tlü\n"
        "U+3005\tkMandarin\tlu\n"
        "U+3006\tkMandarin\tzi\n"
        "U+3007\tkMandarin\tzì\n"
        "U+3008\tkMandarin\tḿ\n"
        "U+3009\tkMandarin\tń\n"
        "U+300A\tkMandarin\tň\n"
        "U+300B\tkMandarin\tǹ\n"
        "U+300C\tkMandarin\tha\xCC\x80n\nU+300C\tkHanyuPinlu\tzǐ\n"
        "U+300D\tkJapaneseKun\tKARA AZA\nU+300D\tkJapaneseOn\tKAN ESBQM\n"
        "U+300E\tkJapaneseOn\tkan HABDA\n"));
  }
  Cps loose(const std::string& q, Reading f = Reading::kMandarin) const {
    return ix_->byReading(q, f);
  }
  Cps exact(const std::string& q, Reading f = Reading::kMandarin) const {
    return ix_->byReading(q, f, ReadingMatch::kExact);
  }
  std::unique_ptr<UnihanIndex> ix_;
};

TEST_F(ReadingTest, ToneDigitsAndMarksSelectOneTone) {
  EXPECT_EQ(loose("han"), (Cps{0x3000, 0x3001, 0x3002, 0x300C}));  // each once
  EXPECT_EQ(loose("han4"), (Cps{0x3000, 0x3001, 0x300C}));
  EXPECT_EQ(loose("hàn"), (Cps{0x3000, 0x3001, 0x300C}));
  EXPECT_EQ(loose("HÀN"), (Cps{0x3000, 0x3001, 0x300C}));
  EXPECT_EQ(loose("ha\xCC\x80n"), (Cps{0x3000, 0x3001, 0x300C}));  // combining grave
  EXPECT_EQ(loose("han2"), (Cps{0x3001}));
  EXPECT_EQ(loose("han5"), (Cps{0x3002}));
  EXPECT_TRUE(loose("han1").empty());
  EXPECT_TRUE(loose("hàn1").empty());  // mark and digit disagree
  EXPECT_EQ(loose("zi5"), (Cps{0x3006}));
  EXPECT_EQ(loose("zi"), (Cps{0x3006, 0x3007}));
  EXPECT_EQ(loose("Zi4"), (Cps{0x3007}));
  EXPECT_TRUE(loose("zi6").empty());
  EXPECT_EQ(loose("zi3", Reading::kHanyuPinlu), (Cps{0x300C}));
}

TEST_F(ReadingTest, UmlautSpellingsAndSyllabicNasals) {
  for (const char* q : {"lü3", "lv3", "lu:3", "LÜ3", "LV3", "lǚ", "lu\xCC\x88" "3"}) {
    EXPECT_EQ(loose(q), (Cps{0x3003})) << q;
  }
  EXPECT_EQ(loose("lv"), (Cps{0x3003, 0x3004}));
  EXPECT_EQ(loose("lu"), (Cps{0x3005}));
  EXPECT_EQ(loose("m2"), (Cps{0x3008}));
  EXPECT_EQ(loose("ḿ"), (Cps{0x3008}));
  EXPECT_EQ(loose("n"), (Cps{0x3009, 0x300A, 0x300B}));
  EXPECT_EQ(loose("n3"), (Cps{0x300A}));
  EXPECT_EQ(loose("ǹ"), (Cps{0x300B}));
  EXPECT_TRUE(loose("m").size() == 1);
}

TEST_F(ReadingTest, ExactAndJapaneseAndBadQueries) {
  EXPECT_EQ(exact("hàn"), (Cps{0x3000, 0x3001}));  // not the decomposed form
  EXPECT_TRUE(exact("han4").empty());
  EXPECT_TRUE(exact("HÀN").empty());
  EXPECT_EQ(loose("kan", Reading::kJapaneseOn), (Cps{0x300D, 0x300E}));
  EXPECT_EQ(exact("KAN", Reading::kJapaneseOn), (Cps{0x300D}));
  EXPECT_EQ(exact("HABDA", Reading::kJapaneseOn), (Cps{0x300E}));  // hashed as ESBQM is
  EXPECT_EQ(loose("Aza", Reading::kJapaneseKun), (Cps{0x300D}));
  EXPECT_TRUE(loose("kan4", Reading::kJapaneseOn).empty());  // digits are letters here
  EXPECT_TRUE(loose("\xFF\xFE").empty());
  EXPECT_THROW(loose(""), kelvorn::Error);
  EXPECT_THROW(exact(""), kelvorn::Error);
  EXPECT_THROW(loose("han", static_cast<Reading>(kelvorn::kTotalStrokes)), kelvorn::Error);
  EXPECT_THROW(loose("han", static_cast<Reading>(kelvorn::kRSUnicode)), kelvorn::Error);
  EXPECT_TRUE(kelvorn::readingMatches("hàn", "han4", Reading::kMandarin));
  EXPECT_FALSE(kelvorn::readingMatches("hán", "han4", Reading::kMandarin));
  EXPECT_FALSE(kelvorn::readingMatches("hàn", "han4", Reading::kMandarin, ReadingMatch::kExact));
  EXPECT_THROW(kelvorn::readingMatches("hàn", "", Reading::kMandarin), kelvorn::Error);
}

// The start of a syllable, as an input method sees it while it is typed:
// the bases that begin so (and no others, such as "ha" before "h"), each
// character once, a tone narrowing as in a loose lookup.
TEST_F(ReadingTest, PrefixesFindEveryReadingThatBeginsSo) {
  const auto prefix = [this](const std::string& q, Reading f = Reading::kMandarin) {
    return ix_->byReading(q, f, ReadingMatch::kPrefix);
  };
  EXPECT_EQ(prefix("h"), (Cps{0x3000, 0x3001, 0x3002, 0x300C}));
  EXPECT_EQ(prefix("HA"), prefix("han"));
  EXPECT_EQ(prefix("ha2"), (Cps{0x3001}));
  EXPECT_EQ(prefix("l"), (Cps{0x3003, 0x3004, 0x3005}));
  EXPECT_EQ(prefix("lv"), (Cps{0x3003, 0x3004}));
  EXPECT_EQ(prefix("z"), (Cps{0x3006, 0x3007}));
  EXPECT_EQ(prefix("zi4"), (Cps{0x3007}));
  EXPECT_TRUE(prefix("zim").empty());
  EXPECT_TRUE(prefix("hàn2").empty());  // mark and digit disagree
  EXPECT_TRUE(prefix("4").empty());     // a tone alone begins nothing
  EXPECT_EQ(prefix("K", Reading::kJapaneseOn), (Cps{0x300D, 0x300E}));
  EXPECT_EQ(prefix("a", Reading::kJapaneseKun), (Cps{0x300D}));
  EXPECT_TRUE(kelvorn::readingMatches("zhōng", "zh", Reading::kMandarin, ReadingMatch::kPrefix));
  EXPECT_TRUE(kelvorn::readingMatches("zhōng", "zho1", Reading::kMandarin, ReadingMatch::kPrefix));
  EXPECT_FALSE(kelvorn::readingMatches("zhōng", "zho4", Reading::kMandarin, ReadingMatch::kPrefix));
  EXPECT_FALSE(
      kelvorn::readingMatches("zhōng", "zhongguo", Reading::kMandarin, ReadingMatch::kPrefix));
  EXPECT_THROW(prefix(""), kelvorn::Error);
}

// Every precomposed pinyin letter, lower and upper case, in tone order 1 to
// 4: each matches its own tone of its base letter and no other tone.
TEST(ReadingFold, EveryMarkedLetterCarriesItsTone) {
  struct Row {
    const char* base;  // as a query spells it
    const char* marked[4];
  };
  const Row rows[] = {
      {"a", {"ā", "á", "ǎ", "à"}}, {"a", {"Ā", "Á", "Ǎ", "À"}},
      {"e", {"ē", "é", "ě", "è"}}, {"e", {"Ē", "É", "Ě", "È"}},
      {"i", {"ī", "í", "ǐ", "ì"}}, {"i", {"Ī", "Í", "Ǐ", "Ì"}},
      {"o", {"ō", "ó", "ǒ", "ò"}}, {"o", {"Ō", "Ó", "Ǒ", "Ò"}},
      {"u", {"ū", "ú", "ǔ", "ù"}}, {"u", {"Ū", "Ú", "Ǔ", "Ù"}},
      {"v", {"ǖ", "ǘ", "ǚ", "ǜ"}}, {"v", {"Ǖ", "Ǘ", "Ǚ", "Ǜ"}},
      {"n", {nullptr, "ń", "ň", "ǹ"}}, {"n", {nullptr, "Ń", "Ň", "Ǹ"}},
      {"m", {nullptr, "ḿ", nullptr, nullptr}}, {"m", {nullptr, "Ḿ", nullptr, nullptr}},
      {"ê", {nullptr, "ế", nullptr, "ề"}}, {"ê", {nullptr, "Ế", nullptr, "Ề"}},
      {"a", {"a\xCC\x84", "a\xCC\x81", "a\xCC\x8C", "a\xCC\x80"}},  // combining marks
  };
  for (const Row& row : rows) {
    for (int tone = 1; tone <= 4; ++tone) {
      const char* letter = row.marked[tone - 1];
      if (letter == nullptr) continue;
      const std::string reading = std::string("b") + letter;
      for (int asked = 1; asked <= 5; ++asked) {
        const std::string query = "b" + std::string(row.base) + std::to_string(asked);
        EXPECT_EQ(kelvorn::readingMatches(reading, query, Reading::kMandarin), asked == tone)
            << reading << " asked as " << query;
      }
      // The letter in a query asks for its tone, as the digit does.
      EXPECT_TRUE(kelvorn::readingMatches(reading, reading, Reading::kHanyuPinlu)) << reading;
      EXPECT_FALSE(
          kelvorn::readingMatches(std::string("b") + row.base, reading, Reading::kMandarin))
          << reading;
    }
  }
  // Letters without a tone: ü, ê and their capitals.
  for (const char* plain : {"ü", "Ü"}) {
    EXPECT_TRUE(kelvorn::readingMatches(std::string("l") + plain, "lv5", Reading::kMandarin));
  }
  for (const char* plain : {"ê", "Ê", "e\xCC\x82"}) {
    EXPECT_TRUE(kelvorn::readingMatches(std::string("b") + plain, "bê5", Reading::kMandarin));
  }
  // Only a diaeresis or a circumflex joins the u or the e before it.
  EXPECT_FALSE(kelvorn::readingMatches("lun", "lv", Reading::kMandarin));
  EXPECT_FALSE(kelvorn::readingMatches("ben", "bê", Reading::kMandarin));
}

TEST(IndexTest, StringComparatorsGoByKeyAndPutPrefixesFirst) {
  const UnihanIndex ix = indexOf(
      "U+4E00\tkRSUnicode\t9.0\nU+4E00\tkTotalStrokes\t2\n"
      "U+4E01\tkRSUnicode\t1.5\nU+4E01\tkTotalStrokes\t6\n"
      "U+4E02\tkRSUnicode\t1.5\n"
      "U+4E03\tkTotalStrokes\t1\n");
  const std::u32string a = U"\u4E00", b = U"\u4E01", c = U"\u4E02", d = U"\u4E03";
  EXPECT_TRUE(ix.less(b, a));       // radical 1 before radical 9
  EXPECT_TRUE(ix.less(b, c));       // same key but the code point
  EXPECT_TRUE(ix.less(a, d));       // no kRSUnicode value: last
  EXPECT_TRUE(ix.less(U"A", d));    // neither has one: code point order
  EXPECT_TRUE(ix.less(b, b + a));   // a prefix first
  EXPECT_FALSE(ix.less(b + a, b));
  EXPECT_FALSE(ix.less(b, b));
  EXPECT_TRUE(ix.less(U"", b));
  EXPECT_TRUE(ix.less(b + b, b + a));
  EXPECT_TRUE(ix.less(d, a, SortOrder::kTotalStrokes));  // 1 stroke before 2
  EXPECT_TRUE(ix.less(b, c, SortOrder::kTotalStrokes));  // 6 strokes before none
  EXPECT_TRUE(ix.lessUtf8("\xE4\xB8\x81", "\xE4\xB8\x80"));
  EXPECT_TRUE(ix.lessUtf8("\xE4\xB8\x81", "\xE4\xB8\x81\xE4\xB8\x80"));
  EXPECT_FALSE(ix.lessUtf8("\xE4\xB8\x81\xE4\xB8\x80", "\xE4\xB8\x81"));
  EXPECT_FALSE(ix.lessUtf8("", ""));
  // The first character that differs decides, whatever follows it.
  EXPECT_TRUE(ix.lessUtf8("\xE4\xB8\x81\xE4\xB8\x80", "\xE4\xB8\x80\xE4\xB8\x81"));
  EXPECT_FALSE(ix.lessUtf8("\xE4\xB8\x80\xE4\xB8\x81", "\xE4\xB8\x81\xE4\xB8\x80"));
  // Bad UTF-8 anywhere in either string, even past the first difference.
  for (const std::string& bad : {std::string("\xE4\xB8"), std::string("\xC0\x80"),
                                std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"),
                                std::string("\x80"), std::string("\xE4\xB8\x81\xFF")}) {
    EXPECT_THROW(ix.lessUtf8(bad, "a"), kelvorn::Error);
    EXPECT_THROW(ix.lessUtf8("\xE4\xB8\x80", "\xE4\xB8\x81" + bad), kelvorn::Error);
  }
}

TEST(SortKeys, OrderAndEquality) {
  const kelvorn::RadicalStrokeKey r1{true, 1, 5, 0x4E02}, r2{true, 1, 5, 0x4E01},
      neg{true, 1, -1, 0x4E09}, none{false, 0, 0, 0x41};
  EXPECT_TRUE(r2 < r1);
  EXPECT_TRUE(neg < r2);
  EXPECT_TRUE(r1 < none);
  EXPECT_FALSE(none < r1);
  EXPECT_TRUE(r1 == r1);
  EXPECT_FALSE(r1 == r2);
  const kelvorn::TotalStrokesKey t1{true, 3, none}, t2{true, 3, r1}, t3{false, 0, r2};
  EXPECT_TRUE(t2 < t1);
  EXPECT_TRUE(t1 < t3);
  EXPECT_FALSE(t3 < t1);
  EXPECT_TRUE(t3 == t3);
  EXPECT_FALSE(t1 == t2);
}

}  // namespace

namespace {

std::vector<std::pair<std::string, unsigned long>> countsOf(const kelvorn::ReadingFrequencies& f,
                                                            char32_t cp) {
  std::vector<std::pair<std::string, unsigned long>> out;
  for (const auto& e : f.entries()) {
    if (e.codePoint == cp) out.emplace_back(e.reading, e.count);
  }
  return out;
}

}  // namespace

TEST(ReadingFrequencies, ReadsWholeValuesOnly) {
  kelvorn::ReadingFrequencies f;
  EXPECT_TRUE(f.addHanyuPinlu(0x5408, "hé(9513) hè(1)"));
  EXPECT_TRUE(f.addHanyuPinlu(0x5B57, "zì(123456789)"));
  // Each damaged value adds nothing, not even its sound first piece.
  for (const char* bad : {"", " ", "hé", "hé(", "hé()", "(3)", "hé(3", "hé(x)", "hé(-1)",
                          "hé(1) ", " hé(1)", "hé(1)  hè(2)", "hé(1)hè(2)", "zì(1234567890)"}) {
    EXPECT_FALSE(f.addHanyuPinlu(0x4E00, bad)) << bad;
  }
  EXPECT_TRUE(countsOf(f, 0x4E00).empty());
  // Out of order, a character still lands in its place.
  EXPECT_TRUE(f.addHanyuPinlu(0x4E8B, "shì(600)"));
  EXPECT_EQ(f.size(), 4u);
  ASSERT_EQ(f.entries()[2].codePoint, char32_t{0x5408});
  EXPECT_EQ(f.entries()[0].codePoint, char32_t{0x4E8B});
  using Counts = std::vector<std::pair<std::string, unsigned long>>;
  EXPECT_EQ(countsOf(f, 0x5408), (Counts{{"hé", 9513}, {"hè", 1}}));
  EXPECT_EQ(countsOf(f, 0x5B57), (Counts{{"zì", 123456789}}));
}

TEST(IndexTest, FrequencyOrderPutsCountedReadingsFirst) {
  // U+4E01's count is for shí, not for the shì asked; the uncounted and the
  // equally counted go by radical and residual.
  const UnihanIndex ix = indexOf(
      "U+4E00\tkRSUnicode\t2.1\nU+4E00\tkMandarin\tshì\n"
      "U+4E01\tkRSUnicode\t1.1\nU+4E01\tkMandarin\tshì\n"
      "U+4E02\tkRSUnicode\t9.0\nU+4E02\tkMandarin\tshì\n"
      "U+4E03\tkRSUnicode\t1.0\nU+4E03\tkMandarin\tshì\n"
      "U+4E04\tkRSUnicode\t3.0\nU+4E04\tkMandarin\tshì\n");
  kelvorn::ReadingFrequencies f;
  ASSERT_TRUE(f.addHanyuPinlu(0x4E01, "shí(50)"));
  ASSERT_TRUE(f.addHanyuPinlu(0x4E02, "shì(1)"));
  ASSERT_TRUE(f.addHanyuPinlu(0x4E04, "shi(99) shì(1)"));
  EXPECT_EQ(ix.byReading("shi4", Reading::kMandarin, ReadingMatch::kLoose, f),
            (Cps{0x4E04, 0x4E02, 0x4E03, 0x4E01, 0x4E00}));
  EXPECT_EQ(ix.byReading("shi", Reading::kMandarin, ReadingMatch::kLoose, f),
            (Cps{0x4E04, 0x4E01, 0x4E02, 0x4E03, 0x4E00}));
  EXPECT_EQ(ix.byReading("shì", Reading::kMandarin, ReadingMatch::kExact, f),
            (Cps{0x4E04, 0x4E02, 0x4E03, 0x4E01, 0x4E00}));
  EXPECT_EQ(
      ix.byReading("shi4", Reading::kMandarin, ReadingMatch::kLoose, kelvorn::ReadingFrequencies()),
      (Cps{0x4E03, 0x4E01, 0x4E00, 0x4E04, 0x4E02}));
  // The fallback order ranks the uncounted only, ahead of the unlisted; a
  // character listed twice keeps its first place.
  f.setFallbackOrder({0x4E00, 0x4E02, 0x4E01, 0x4E00, 0x10FFFF});
  EXPECT_EQ(f.fallbackPlace(0x4E00), 0U);
  EXPECT_EQ(f.fallbackPlace(0x4E01), 2U);
  EXPECT_EQ(f.fallbackPlace(0x4E03), kelvorn::ReadingFrequencies::kUnlisted);
  EXPECT_EQ(f.fallbackPlace(0x10FFFF), 4U);
  EXPECT_EQ(ix.byReading("shi4", Reading::kMandarin, ReadingMatch::kLoose, f),
            (Cps{0x4E04, 0x4E02, 0x4E00, 0x4E01, 0x4E03}));
}
