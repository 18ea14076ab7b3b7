// Text and images that no Unihan release contains: zero bytes, wrapping
// code points, carriage returns alone, empty files, and the inputs the fuzz
// targets found.
#include <algorithm>

#include "TestSupport.h"

using namespace kelvorn;
using namespace testsupport;
using namespace std::string_literals;

namespace {

// The image of a store must answer as the store did, whatever the text was.
void expectImageAnswersAsText(UnihanMgr& text, const std::vector<int>& codePoints,
                              const std::vector<unsigned int>& cids) {
  const std::string image = writeImage(text);
  UnihanMgr loaded;
  ASSERT_EQ(loadBuffer(loaded, image, image.size()), static_cast<int>(image.size()));
  for (int cp : codePoints) EXPECT_EQ(describe(loaded, cp), describe(text, cp)) << std::hex << cp;
  for (unsigned int cid : cids) EXPECT_EQ(loaded.getUTF32ForCID(cid), text.getUTF32ForCID(cid)) << cid;
}

// Zero bytes, code points past 32 bits, carriage returns alone and an empty
// file: each text and the total strokes it gives a few code points.
TEST(HostileText, OddBytesReadAsTheReaderDefines) {
  const struct {
    std::string text;
    std::vector<std::pair<int, int>> strokes;  // code point, totalStrokes
  } cases[] = {
      // A zero byte ends its line (the value after it is lost) but not the
      // file; a line that starts with one is empty.
      {"U+4E00\tkTotalStrokes\t\0" "9\n\0U+4E01\tkTotalStrokes\t4\nU+4E02\tkTotalStrokes\t5\n"s,
       {{0x4E00, 0}, {0x4E01, -1}, {0x4E02, 5}}},
      // Only the low 32 bits of a code point are kept.
      {"U+1234500004E00\tkTotalStrokes\t7\nU+FFFFFFFF\tkTotalStrokes\t9\n"
       "U+80000000\tkTotalStrokes\t3\n",
       {{0x4E00, 7}, {-1, 9}, {INT32_MIN, 3}, {INT32_MIN + 1, -1}, {INT32_MAX, -1}}},
      // A carriage return alone does not end a line; it separates values.
      {"U+4E00\tkTotalStrokes\r3\rU+4E01\tkTotalStrokes\t4\r", {{0x4E00, 3}, {0x4E01, -1}}},
      {"", {{0x4E00, -1}}},
  };
  for (const auto& c : cases) {
    UnihanMgr mgr;
    ASSERT_EQ(loadText(mgr, c.text), 0);
    EXPECT_TRUE(mgr.IsValid());
    std::vector<int> probes;
    for (const auto& [cp, strokes] : c.strokes) {
      EXPECT_EQ(mgr.totalStrokes(cp), strokes) << std::hex << cp;
      probes.push_back(cp);
    }
    expectImageAnswersAsText(mgr, probes, {});
  }
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr, "U+4E00\tkMandarin\tab\0cd ef\n"s), 0);
  EXPECT_EQ(readings(mgr, 0x4E00, kMandarin), std::vector<std::string>{"ab"});
  UnihanMgr empty;
  ASSERT_EQ(loadText(empty, ""), 0);
  EXPECT_EQ(empty.getNumVals(0x4E00, kMandarin), -1);
  EXPECT_EQ(writeImage(empty).size(), 26u);  // the header and no block
  EXPECT_EQ(writeImage(empty, 0), "");
}

// Comment lines of `bytes` bytes in all (at least 2).
std::string commentLines(std::size_t bytes) {
  std::string text;
  while (bytes - text.size() >= 102) text += "#" + std::string(98, 'x') + "\n";
  return text + "#" + std::string(bytes - text.size() - 2, 'x') + "\n";
}

// The reader takes the file in 64 KiB chunks: a data line (and its CR LF)
// cut at every byte by the end of the first chunk, another by the end of the
// second, and a line longer than a chunk read as they would whole.
TEST(HostileText, DataLinesAcrossTheFirstAndSecondChunkEnds) {
  const std::size_t chunk = 1 << 16;
  const std::string first = "U+4E00\tkMandarin\tabc def\r\n";
  const std::string second = "U+4E01\tkRSVantu_Japan1_6\tC+1533+85.3.10\n";
  for (std::size_t before = 0; before <= second.size(); ++before) {
    std::string text = commentLines(chunk - std::min(before, first.size())) + first;
    text += commentLines(2 * chunk - text.size() - before) + second + "U+4E02\tkTotalStrokes\t2\n";
    text += "U+4E03\tkMandarin\t" + std::string(chunk + 600 * before, 'a') + "\r\nU+4E04\tkTotalStrokes\t4\n";
    UnihanMgr mgr;
    ASSERT_EQ(loadText(mgr, text), 0);
    EXPECT_EQ(readings(mgr, 0x4E00, kMandarin), (std::vector<std::string>{"abc", "def"})) << before;
    EXPECT_EQ(mgr.getVantuCID(0x4E01, 0), 1533) << before;
    EXPECT_EQ(mgr.totalVantuStrokes(0x4E01, 0), 13) << before;
    EXPECT_EQ(mgr.totalStrokes(0x4E02), 2) << before;
    EXPECT_EQ(readings(mgr, 0x4E03, kMandarin), std::vector<std::string>{std::string(511 - 17, 'a')});
    EXPECT_EQ(mgr.totalStrokes(0x4E04), 4) << before;
  }
  // A line is kept to 511 bytes (a zero byte there ends it) however chunks cut the rest.
  std::string text = "U+4E08\tkMandarin\tab\0 c"s + std::string(489, 'x') + "U+4E05\tkTotalStrokes\t9 ";
  text += std::string(chunk - text.size(), 'x') + "U+4E06\tkTotalStrokes\t8 " + std::string(6000, 'x');
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr, text + "\nU+4E07\tkTotalStrokes\t7\n"), 0);
  EXPECT_EQ(mgr.totalStrokes(0x4E05) + mgr.totalStrokes(0x4E06) + mgr.totalStrokes(0x4E07), 5);
  EXPECT_EQ(readings(mgr, 0x4E08, kMandarin), std::vector<std::string>{"ab"});
}

// Found by fuzz_text: a CID above 65535 is kept in 16 bits, and the CID table
// must be keyed the same way, or the image maps a CID that the text did not.
TEST(HostileText, CidsBeyondSixteenBitsMapAsTheyAreKept) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr, "U+5kRSVantu_Japan1_6C+201089\n"
                          "U+6\tkRSVantu_Japan1_6\tC+66192+1.2.3 V+-64412+1.2.3\n"),
            0);
  EXPECT_EQ(mgr.getVantuCID(5, 0), 201089 & 0xFFFF);
  EXPECT_EQ(mgr.getUTF32ForCID(201089 & 0xFFFF), 5);
  EXPECT_EQ(mgr.getUTF32ForCID(656), 6);   // 66192 keeps 656, which folds onto 1124
  EXPECT_EQ(mgr.getUTF32ForCID(1124), 6);  // and so does -64412
  expectImageAnswersAsText(mgr, {4, 5, 6, 7}, {656, 1124, 201089 & 0xFFFF, 201089});
}

}  // namespace
