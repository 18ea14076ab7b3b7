// A saved index opened again: the same answers as the index it was saved
// from, copied or in place, aligned or not (the real data's saved index is
// checked by tool.index_saved); and bytes that
// are cut, damaged or tagged for other data refused without a read outside
// them.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "IndexTestSupport.h"
#include "support/IndexWalk.h"

namespace {

using kelvorn::RadicalStrokeExtras;
using kelvorn::ReadingMatch;
using kelvorn::SortOrder;
using kelvorn::UnihanIndex;
using kelvorn::UnihanMgr;

// Every answer that comes from the index's own tables, and the readings of
// every `step`-th held character, each asked back through byReading.
void expectSameAnswers(const UnihanIndex& a, const UnihanIndex& b, std::size_t step) {
  ASSERT_EQ(a.codePoints(), b.codePoints());
  for (const kelvorn::Source source : kelvorn::kSources) {
    for (int radical = 0; radical <= 215; ++radical) {
      const auto& pa = a.byRadical(radical, source);
      const auto& pb = b.byRadical(radical, source);
      ASSERT_EQ(pa.size(), pb.size()) << kelvorn::fieldName(source) << " " << radical;
      for (std::size_t i = 0; i < pa.size(); ++i) {
        ASSERT_EQ(pa[i].codePoint, pb[i].codePoint);
        ASSERT_EQ(pa[i].residual, pb[i].residual);
      }
    }
  }
  for (int radical = 1; radical <= 214; ++radical) {
    for (int marks = 0; marks <= 3; ++marks) {
      ASSERT_EQ(a.byRadicalForm(radical, marks).size(), b.byRadicalForm(radical, marks).size());
    }
  }
  for (int strokes = 0; strokes <= 256; ++strokes) {
    ASSERT_EQ(a.byTotalStrokes(strokes), b.byTotalStrokes(strokes)) << strokes;
  }
  std::u32string all(a.codePoints().begin(), a.codePoints().end());
  all += U"\U0010FFFF\u0041";
  EXPECT_EQ(a.sortKey(all), b.sortKey(all));
  EXPECT_EQ(a.sortKey(all, SortOrder::kTotalStrokes), b.sortKey(all, SortOrder::kTotalStrokes));
  for (std::size_t i = 0; i < a.codePoints().size(); i += step) {
    const char32_t cp = a.codePoints()[i];
    for (const kelvorn::Reading field : kelvorn::kReadings) {
      const std::vector<std::string> readings = a.readings(cp, field);
      ASSERT_EQ(readings, b.readings(cp, field));
      for (const std::string& r : readings) {
        ASSERT_EQ(a.byReading(r, field, ReadingMatch::kExact),
                  b.byReading(r, field, ReadingMatch::kExact));
        ASSERT_EQ(a.byReading(r, field), b.byReading(r, field)) << r;
      }
    }
  }
}

class IndexSavedSmall : public testing::Test {
 protected:
  void SetUp() override {
    mgr_ = indextest::storeOf(kText);
    RadicalStrokeExtras extras;
    extras.addRSUnicode(0x7E9F, "120'.0");
    extras.addCompatibilityVariant(0xF967, "U+4E0D");
    kelvorn::ReadingFrequencies counts;
    counts.addHanyuPinlu(0x4E0D, "bù(100) bú(3)");
    counts.addHanyuPinlu(0x738B, "wáng(50)");
    counts.setFallbackOrder({0x738B, 0x4E0D, 0x7E9F});
    kelvorn::MandarinReadings mandarin;
    mandarin.add(0x4E0D, "kHanyuPinyin", "10019.020:bù,fǒu");
    built_ = std::make_unique<UnihanIndex>(mgr_, extras, mandarin, counts);
  }
  static constexpr char kText[] =
      "U+4E00\tkTotalStrokes\t1\nU+4E01\tkTotalStrokes\t2\nU+4E02\tkTotalStrokes\t2\n"
      "U+4E03\tkTotalStrokes\t2\n"
      "U+4E0D\tkRSUnicode\t1.3\nU+4E0D\tkTotalStrokes\t4\nU+4E0D\tkMandarin\tbù\n"
      "U+4E0D\tkJapaneseOn\tFU BU\n"
      "U+738B\tkRSUnicode\t96.-1\nU+738B\tkRSKangXi\t96.0\nU+738B\tkMandarin\twáng\n"
      "U+7E9F\tkRSUnicode\t120.0\nU+7E9F\tkRSVantu_Japan1_6\tC+1200+120.6.6\n"
      "U+F967\tkRSUnicode\t1.3\n"
      "U+20000\tkRSUnicode\t1.4\nU+20000\tkTotalStrokes\t5\n";

  UnihanMgr mgr_;
  std::unique_ptr<UnihanIndex> built_;
};

TEST_F(IndexSavedSmall, OpensAsSavedAndRefusesOtherTagsVersionsAndMagic) {
  const std::string bytes = built_->bytes("small");
  const std::optional<UnihanIndex> opened = UnihanIndex::fromBytes(mgr_, bytes, "small");
  ASSERT_TRUE(opened.has_value());
  expectSameAnswers(*built_, *opened, 1);
  EXPECT_EQ(opened->byRadicalForm(120, 1).size(), 1U);
  EXPECT_EQ(opened->radicalStrokeKey(0xF967), opened->radicalStrokeKey(0x4E0D));
  // Bytes that do not start on a four-byte boundary are decoded instead.
  const auto shifted = std::make_shared<const std::string>("xyz" + bytes);
  const std::optional<UnihanIndex> decoded =
      UnihanIndex::fromBytes(mgr_, shifted, std::string_view(*shifted).substr(3), "small");
  ASSERT_TRUE(decoded.has_value());
  expectSameAnswers(*built_, *decoded, 1);

  EXPECT_FALSE(UnihanIndex::fromBytes(mgr_, bytes, "smalL").has_value());
  // The magic, the format version after its 24 bytes, the first pad byte
  // after the tag, the end of kJapaneseOn's key offsets (past its keys).
  for (const std::size_t at : std::vector<std::size_t>{0, 24, 37, bytes.find("BUFU") + 16}) {
    std::string damaged = bytes;
    damaged[at] = '\x05';
    EXPECT_FALSE(UnihanIndex::fromBytes(mgr_, damaged, "small").has_value()) << at;
  }
  EXPECT_FALSE(UnihanIndex::fromBytes(mgr_, bytes + std::string(4, '\0'), "small").has_value());
  EXPECT_FALSE(UnihanIndex::fromBytes(mgr_, "", "small").has_value());

  // The counts and the fallback places come back whole, or for some
  // characters alone.
  ASSERT_TRUE(opened->frequencies().has_value());
  EXPECT_EQ(opened->frequencies()->size(), 3U);
  const kelvorn::ReadingFrequencies some = *opened->frequencies({0x738B, 0x7E9F, 0x20000});
  ASSERT_EQ(some.size(), 1U);
  EXPECT_EQ(some.entries()[0].reading, "wáng");
  EXPECT_EQ(some.entries()[0].count, 50U);
  EXPECT_EQ(some.fallbackPlace(0x7E9F), 2U);
  EXPECT_EQ(some.fallbackPlace(0x4E0D), kelvorn::ReadingFrequencies::kUnlisted);

  // An index of an empty store saves and opens too, holding no frequencies.
  const UnihanIndex empty{UnihanMgr()};
  const std::optional<UnihanIndex> emptyOpened =
      UnihanIndex::fromBytes(mgr_, empty.bytes("none"), "none");
  ASSERT_TRUE(emptyOpened.has_value());
  EXPECT_FALSE(emptyOpened->frequencies().has_value());
  EXPECT_TRUE(emptyOpened->codePoints().empty());
  EXPECT_TRUE(emptyOpened->byRadical(1).empty());
}

TEST_F(IndexSavedSmall, EveryCutIsRefusedAndNoDamagedByteReadsOutside) {
  const std::string bytes = built_->bytes("small");
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    ASSERT_FALSE(UnihanIndex::fromBytes(mgr_, bytes.substr(0, length), "small").has_value())
        << length;
  }
  // Each byte in turn set to values that break counts, offsets, flags and
  // order; what still opens must answer without reading outside the bytes.
  int opened = 0;
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    for (const unsigned char value : {0x00, 0x01, 0x7F, 0xFF}) {
      std::string damaged = bytes;
      if (static_cast<unsigned char>(damaged[at]) == value) continue;
      damaged[at] = static_cast<char>(value);
      const std::optional<UnihanIndex> ix = UnihanIndex::fromBytes(mgr_, damaged, "small");
      if (!ix) continue;
      ++opened;
      (void)testsupport::askEverything(*ix);
    }
  }
  // Code points, residuals and weights take any value, so some damage opens.
  EXPECT_GT(opened, 0);
}

// The frequency table and the other Mandarin fields' readings close the
// bytes. Forged, what the lookups rely on is refused; a count or a place
// takes any value.
TEST_F(IndexSavedSmall, ForgedFrequencyTablesAreRefused) {
  const std::string bytes = built_->bytes("small");
  // Then the other Mandarin fields' readings: U+4E0D's fǒu.
  const std::size_t table = bytes.size() - 104 - 28;
  EXPECT_EQ(UnihanIndex::fromBytes(mgr_, bytes, "small")->mandarinReadings(0x4E0D),
            (std::vector<std::string>{"bù", "fǒu"}));
  ASSERT_EQ(bytes.substr(table + 96, 4), std::string("\0\0\0\0", 4));  // 4E0D's place
  struct Case {
    std::size_t at;  // from the table's start
    std::uint32_t value;
    bool opens;
  };
  for (const Case& c : {Case{0, 2, false}, Case{0, 0, false},            // held
                        Case{4, 4, false}, Case{4, 2, false},            // a count of code points
                        Case{12, 0x4E0C, false}, Case{16, 0x110000, false},
                        Case{28, 0, false}, Case{36, 12, false},         // reading starts
                        Case{40, 12, false},                             // reading bytes
                        Case{56, 2, false},                              // a count of counts
                        Case{80, 0x4E0D, false}, Case{84, 0x110000, false},
                        Case{88, 2, false},                              // a count of places
                        Case{108, 0x110000, false}, Case{112, 0, false},  // Mandarin's others
                        Case{84, 0x10FFFF, true}, Case{108, 0x10FFFF, true},
                        Case{60, 0xFFFFFFFF, true}, Case{92, 0xFFFFFFFF, true}}) {
    std::string damaged = bytes;
    for (int b = 0; b < 4; ++b) damaged[table + c.at + b] = static_cast<char>(c.value >> (8 * b));
    const std::optional<UnihanIndex> ix = UnihanIndex::fromBytes(mgr_, damaged, "small");
    ASSERT_EQ(ix.has_value(), c.opens) << c.at << " " << c.value;
  }
}

// The held code points are checked as their runs are filed: they must
// ascend strictly and stay within U+10FFFF, whatever sign their top bit
// would give them. Each key's flag, in the first eight or after them, is
// refused past 1.
TEST_F(IndexSavedSmall, HeldCodePointsMustAscendWithinTheCodeSpace) {
  const std::string bytes = built_->bytes("small");
  const std::size_t first = bytes.find(std::string("\0\x4E\0\0\x01\x4E\0\0", 8));
  ASSERT_NE(first, std::string::npos);
  const char32_t held[] = {0x4E00, 0x4E01, 0x4E02, 0x4E03, 0x4E0D, 0x738B, 0x7E9F, 0xF967, 0x20000};
  struct Case {
    std::size_t place;  // in held
    std::uint32_t value;
    bool opens;
  };
  for (const Case& c : {Case{5, 0x4E0D, false}, Case{8, 0xF967, false}, Case{8, 0x110000, false},
                        Case{0, 0x80000000, false}, Case{0, 0xFFFFFFFF, false},
                        Case{8, 0x10FFFF, true}, Case{6, 0x738C, true}, Case{0, 0, true},
                        Case{10, 2, false}, Case{20, 2, false}}) {  // keys 0 and 8
    std::string damaged = bytes;
    for (int b = 0; b < 4; ++b) damaged[first + 4 * c.place + b] = static_cast<char>(c.value >> (8 * b));
    const std::optional<UnihanIndex> ix = UnihanIndex::fromBytes(mgr_, damaged, "small");
    ASSERT_EQ(ix.has_value(), c.opens) << c.place << " " << c.value;
    if (!ix) continue;
    // U+738C joins U+738B's run, which ends there.
    EXPECT_TRUE(ix->contains(static_cast<char32_t>(c.value)));
    EXPECT_FALSE(ix->contains(static_cast<char32_t>(c.value + 1)));
    EXPECT_FALSE(ix->contains(held[c.place]));
    EXPECT_EQ(ix->codePoints()[c.place], c.value);
  }
}

}  // namespace
