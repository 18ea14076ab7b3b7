// The Unihan text reader: grouping into blocks and the parsing of each field.
#include "TestSupport.h"

using namespace kelvorn;
using testsupport::loadText;
using testsupport::readings;

namespace {

using Strings = std::vector<std::string>;

TEST(TextReader, MissingFileAndNullPath) {
  UnihanMgr mgr;
  EXPECT_EQ(mgr.readUnihan(testsupport::CPath("/nonexistent/dir/Unihan.txt")), -1);
  EXPECT_EQ(mgr.readUnihan(nullptr), -1);
  EXPECT_FALSE(mgr.IsValid());
}

TEST(TextReader, RunsOfConsecutiveCodePointsFormBlocks) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "# comment\n"
                     "U+4E00\tkTotalStrokes\t1\n"
                     "U+4E01\tkTotalStrokes\t2\n"
                     "U+4E02\tkDefinition\tonly an unlisted field\n"
                     "U+4E03\tkTotalStrokes\t2\n"
                     "U+4E04\tkCantonese\tsoeng6\n"
                     "U+4E05\tkMandarin\txià\n"),
            0);
  EXPECT_TRUE(mgr.IsValid());
  EXPECT_EQ(mgr.totalStrokes(0x4E01), 2);
  // U+4E02 has no record, so U+4E03 starts a new block and U+4E02 lies in none.
  EXPECT_EQ(mgr.getNumVals(0x4E02, kMandarin), -1);
  EXPECT_EQ(mgr.totalStrokes(0x4E03), 2);
  EXPECT_EQ(mgr.getNumVals(0x4E04, kMandarin), -1);
  EXPECT_EQ(readings(mgr, 0x4E05, kMandarin), Strings{"xià"});
  EXPECT_EQ(mgr.totalStrokes(0x4E05), 0);  // known code point, no value
  EXPECT_EQ(mgr.totalStrokes(0x4DFF), -1);
  EXPECT_EQ(mgr.totalStrokes(0x4E06), -1);

  // A second load appends; the earlier block answers first for its range.
  ASSERT_EQ(loadText(mgr, "U+4E00\tkTotalStrokes\t9\nU+4E10\tkTotalStrokes\t4\n"), 0);
  EXPECT_EQ(mgr.totalStrokes(0x4E00), 1);
  EXPECT_EQ(mgr.totalStrokes(0x4E10), 4);
}

TEST(TextReader, UnsortedLinesOfOneCodePointFormASecondRecord) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+5001\tkTotalStrokes\t5\n"
                     "U+5000\tkTotalStrokes\t10\n"
                     "U+5001\tkMandarin\tlate\n"),
            0);
  EXPECT_EQ(mgr.totalStrokes(0x5001), 5);
  EXPECT_EQ(mgr.getNumVals(0x5001, kMandarin), 0);  // the later record is never reached
  EXPECT_EQ(mgr.totalStrokes(0x5000), 10);
}

TEST(TextReader, RadicalStrokeValues) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+3687\tkRSUnicode\t35.6 66.6\n"
                     "U+3688\tkRSUnicode\t120'.3\n"
                     "U+3688\tkRSKangXi\t120.4 9.1\n"  // only kRSUnicode keeps a second value
                     "U+3688\tkRSKorean\t7.x\n"
                     "U+3688\tkRSJapanese\tjunk\n"
                     "U+3689\tkRSKanWa\t300.1\n"),
            0);
  EXPECT_EQ(mgr.getNumVals(0x3687, kRSUnicode), 2);
  EXPECT_EQ(mgr.radix(0x3687, kRSUnicode, 1), 66);
  EXPECT_EQ(mgr.stroke(0x3687, kRSUnicode, 1), 6);
  EXPECT_EQ(mgr.radix(0x3687, kRSUnicode, 2), 35);  // any index but 1 is the first
  EXPECT_EQ(mgr.radix(0x3687, -1) + mgr.radix(0x3687, kHanyuPinlu, 0), 35 - 1);  // 7: no source
  EXPECT_EQ(mgr.radix(0x3688, kRSUnicode, 0), 120);
  EXPECT_EQ(mgr.stroke(0x3688, kRSUnicode, 0), 3);
  EXPECT_EQ(mgr.getNumVals(0x3688, kRSUnicode), 0);
  EXPECT_EQ(mgr.stroke(0x3688, kRSKangXi, 0), 4);
  EXPECT_EQ(mgr.radix(0x3688, kRSKorean, 0), 7);  // numbers before a mismatch stay
  EXPECT_EQ(mgr.stroke(0x3688, kRSKorean, 0), 0);
  EXPECT_EQ(mgr.radix(0x3688, kRSJapanese, 0), -1);  // no number at all: no value
  EXPECT_EQ(mgr.radix(0x3689, kRSKanWa, 0), 300 & 0xFF);  // fields keep their low bits
}

TEST(TextReader, CidValuesInLineOrder) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+5B57\tkRSVantu_Japan1_6\tV+20000+39.3.3 C+2779+39.3.3 V+656+1.1.0 "
                     "V+1123+1.1.0 V+bad V+23058+1.1.0\n"),
            0);
  EXPECT_EQ(mgr.getNumVals(0x5B57, kRSVantu_Japan1_6), 5);
  EXPECT_EQ(mgr.getVantuCID(0x5B57, 0), 20000);
  EXPECT_EQ(mgr.getVantuCID(0x5B57, 1), 2779);
  EXPECT_EQ(mgr.totalVantuStrokes(0x5B57, 1), 6);
  EXPECT_EQ(mgr.getVantuCID(0x5B57, 4), 23058);
  EXPECT_EQ(mgr.getVantuCID(0x5B57, 5), -1);
  EXPECT_EQ(mgr.getUTF32ForCID(2779), 0x5B57);
  EXPECT_EQ(mgr.getUTF32ForCID(1124), 0x5B57);  // 656 shares 1124's entry
  EXPECT_EQ(mgr.getUTF32ForCID(656), 0x5B57);
  EXPECT_EQ(mgr.getUTF32ForCID(1123), -1);
  EXPECT_EQ(mgr.getUTF32ForCID(23058), -1);
}

TEST(TextReader, CodePointZeroAndLowerCaseHex) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+0000\tkTotalStrokes\t3\n"
                     "U+0000\tkRSUnicode\t1.1\n"
                     "U+0001\tkTotalStrokes\t4\n"
                     "U+0003\tkTotalStrokes\t5\n"
                     "U+4e00\tkTotalStrokes\t1\n"
                     "U+4E01\tkTotalStrokes\t2\n"
                     "U+2a6df\tkRSUnicode\t7.1\n"),
            0);
  EXPECT_EQ(mgr.totalStrokes(-1), -1);
  EXPECT_EQ(mgr.totalStrokes(0), 3);
  EXPECT_EQ(mgr.radix(0, kRSUnicode, 0), 1);
  EXPECT_EQ(mgr.totalStrokes(1), 4);
  EXPECT_EQ(mgr.totalStrokes(2), -1);
  EXPECT_EQ(mgr.totalStrokes(3), 5);
  EXPECT_EQ(mgr.totalStrokes(0x4E00), 1);
  EXPECT_EQ(mgr.totalStrokes(0x4E01), 2);
  EXPECT_EQ(mgr.radix(0x2A6DF, kRSUnicode, 0), 7);
}

// The hexadecimal digits of a code point end at the first byte that is not
// one, whatever its value (0xFF, the last entry of the digit table, too).
TEST(TextReader, CodePointDigitsEndAtAnyOtherByte) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+4E0\xFF\tkTotalStrokes\t5\n"
                     "U+4E1\x80\tkTotalStrokes\t6\n"
                     "U+4E2G\tkTotalStrokes\t7\n"),
            0);
  // The stray byte is then taken for the field name, which is none the
  // library keeps; what matters is which code point the line was filed under.
  for (int held : {0x4E0, 0x4E1, 0x4E2}) EXPECT_NE(mgr.getNumVals(held, kMandarin), -1) << held;
  for (int stray : {0x4E00, 0x4E0F, 0x4E10, 0x4E2F}) {
    EXPECT_EQ(mgr.getNumVals(stray, kMandarin), -1) << stray;
  }
}

// Each of these lines ends right after its field name: the code point gets
// a record with nothing in it, and the next line is read whole.
TEST(TextReader, LinesThatEndAfterTheFieldName) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+4E03\tkRSUnicode\n"
                     "U+4E03\tkRSVantu_Japan1_6\n"
                     "U+4E03\tkMandarin\n"
                     "U+4E03\tkTotalStrokes\t5\n"
                     "U+4E04\tkJapaneseOn\nU+4E04\tkJapaneseKun\n"  // known only with a tab after
                     "U+4E06\tkHanYu\n"  // the shortest name, alone at the end
                     "U+4E07\tkRSKangXi"),
            0);
  EXPECT_EQ(mgr.totalStrokes(0x4E03), 5);
  EXPECT_EQ(mgr.radix(0x4E03, kRSUnicode, 0), -1);
  EXPECT_EQ(mgr.getVantuCID(0x4E03, 0), -1);
  EXPECT_EQ(mgr.getNumVals(0x4E03, kMandarin), 0);
  int v = -1, p = -1, pos = -1, virt = -1;
  ASSERT_EQ(mgr.getkHanYuData(0x4E06, &v, &p, &pos, &virt), 0);
  EXPECT_EQ(std::vector<int>({v, p, pos, virt}), std::vector<int>({0, 0, 0, 0}));
  EXPECT_EQ(mgr.getNumVals(0x4E04, kJapaneseOn), -1);
  EXPECT_EQ(mgr.totalStrokes(0x4E07), 0);
  EXPECT_EQ(mgr.radix(0x4E07, kRSKangXi, 0), -1);
}

// The numbers before the first that is missing are kept: a CID alone is a
// value with radical and strokes 0. A mark without a CID is passed over, a
// number may follow white space ("%d"), and values follow the first name.
TEST(TextReader, CidValuesWithoutTheirRadicalPart) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+5000\tkRSVantu_Japan1_6\tC+C+1234 kRSVantu_Japan1_6\n"
                     "U+5001\tkRSVantu_Japan1_6\tC+1235+9 V+ 1236+9.2\n"),
            0);
  EXPECT_EQ(mgr.getVantuCID(0x5000, 0), 1234);
  EXPECT_EQ(mgr.getUTF32ForCID(1234), 0x5000);
  EXPECT_EQ(mgr.radix(0x5000, kRSVantu_Japan1_6, 0), 0);
  EXPECT_EQ(mgr.stroke(0x5000, kRSVantu_Japan1_6, 0), 0);
  EXPECT_EQ(mgr.totalVantuStrokes(0x5000, 0), 0);
  EXPECT_EQ(mgr.radix(0x5001, kRSVantu_Japan1_6, 0), 9);
  EXPECT_EQ(mgr.radix(0x5001, -1), -1);  // no CID at index -1, and no other source
  EXPECT_EQ(mgr.totalVantuStrokes(0x5001, 0), 0);
  EXPECT_EQ(mgr.getVantuCID(0x5001, 1), 1236);
  EXPECT_EQ(mgr.stroke(0x5001, kRSVantu_Japan1_6, 1), 2);
  EXPECT_EQ(mgr.totalVantuStrokes(0x5001, 1), 2);
  EXPECT_EQ(mgr.getUTF32ForCID(1236), 0x5001);
}

TEST(TextReader, ReadingsAndHanYu) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+6F22\tkHanYu\t31713.090\n"
                     "U+6F22\tkHanyuPinlu\thàn(227) hán(3)\n"
                     "U+6F22\tkJapaneseKun\tKARA \n"
                     "U+6F22\tkJapaneseOn\tKAN\n"
                     "U+6F22\tkSemanticVariant\tU+4E10<kHanYu\n"
                     "U+6F22\tkMandarin\thàn\r"),
            0);
  EXPECT_EQ(readings(mgr, 0x6F22, kHanyuPinlu), (Strings{"hàn", "hán"}));
  EXPECT_EQ(readings(mgr, 0x6F22, kJapaneseKun), Strings{"KARA"});
  EXPECT_EQ(readings(mgr, 0x6F22, kJapaneseOn), Strings{"KAN"});
  EXPECT_EQ(readings(mgr, 0x6F22, kMandarin), Strings{"hàn\r"});  // no line feed: the CR stays
  EXPECT_EQ(mgr.getNumVals(0x6F22, kHanyuPinlu), 2);
  // The semantic-variant line is taken for kHanYu but does not wipe the value.
  int volume = -1, page = -1, position = -1, virtualFlag = -1;
  ASSERT_EQ(mgr.getkHanYuData(0x6F22, &volume, &page, &position, &virtualFlag), 0);
  EXPECT_EQ(volume, 3);
  EXPECT_EQ(page, 1713);
  EXPECT_EQ(position, 9);
  EXPECT_EQ(virtualFlag, 0);
  std::vector<std::string> out{"kept"};
  mgr.getPronounceData(out, 0x6F22, kJapaneseOn);
  EXPECT_EQ(out, (Strings{"kept", "KAN"}));  // appended, never cleared
}

TEST(TextReader, HostileLines) {
  const std::string longToken(300, '7');
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+\tkTotalStrokes\t3\n"
                     "U+zz\tkTotalStrokes\t3\nX+0\tkTotalStrokes\t3\n"
                     "U+4E00\tkTotalStrokes\t" + std::string(54, '0') + "12" + longToken + "\n"
                     "U+ 4E01\tkHanYu\t99999999.999\n"
                     "U+4E01\tkRSUnicode\t" + longToken + "." + longToken + "\n"
                     "U+4E02\tkTotalStrokes\t" + std::string(489, ' ') + "123\n"),
            0);
  // A value keeps 55 characters, a line 511 (the "1" of "123"); a last line
  // without a line feed is EdgeCases'.
  EXPECT_EQ(mgr.totalStrokes(0x4E00), 1);
  EXPECT_EQ(mgr.totalStrokes(0x4E02), 1);
  int v, p, pos, virt;
  ASSERT_EQ(mgr.getkHanYuData(0x4E01, &v, &p, &pos, &virt), 0);
  EXPECT_EQ(v, 9);
  EXPECT_EQ(p, 9999);
  EXPECT_EQ(mgr.totalStrokes(0), -1);  // "U+" without digits, or "X+", made no record
}

}  // namespace
