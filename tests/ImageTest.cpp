// The binary image and the text dump: exact bytes, byte order, and what each
// reader does with images cut short or outside the format.
#include <algorithm>
#include <stdexcept>

#include "ImageBytes.h"
#include "TestSupport.h"

using namespace kelvorn;
using namespace testsupport;

namespace {

const char kOneCharText[] =
    "U+4E00\tkRSUnicode\t1.0\n"
    "U+4E00\tkTotalStrokes\t1\n"
    "U+4E00\tkMandarin\tyi1\n"
    "U+4E00\tkHanYu\t10001.010\n";

std::string oneCharImage() {
  return imageHeader(1) +
         std::string("\x00\x4E\x00\x00\x00\x4E\x00\x00\x01\x00\x01\x00\x01\x00", 14) +
         std::string("\x01\x01\x01\x00\x01\x00", 6) + std::string("\x00\x00\x00\x01\x03yi1", 8) +
         std::string("\x01\x01\x00\x01\x00", 5);
}

TEST(Image, WorkedExampleBytesAndDump) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr, kOneCharText), 0);
  const std::string image = writeImage(mgr, 1);
  EXPECT_EQ(image.size(), 59u);
  EXPECT_EQ(image, oneCharImage());
  EXPECT_EQ(writeImage(mgr, 7), image);  // any nonzero mode
  const std::string dump = writeImage(mgr, 0);
  EXPECT_EQ(dump, "U+4e00\tkRSUnicode\t1.0\nU+4e00\tkTotalStrokes\t1\nyi1 U+4e00\tkHanYu\t11.10\n");
  // Flags that claim a second source's pair where there is none: the dump shows the one pair.
  ASSERT_EQ(loadBuffer(mgr, oneCharImage().replace(41, 1, "\x03"), 59), 59);
  EXPECT_EQ(writeImage(mgr, 0), dump);
}

TEST(Image, DumpMarksCidsAndSecondUnicodeValue) {
  UnihanMgr mgr;
  ASSERT_EQ(loadText(mgr,
                     "U+3687\tkRSUnicode\t35.6 66.6\n"
                     "U+3687\tkRSKorean\t35.7\n"
                     "U+3687\tkRSVantu_Japan1_6\tC+1533+85.3.10 V+1534+86.4.9\n"),
            0);
  EXPECT_EQ(writeImage(mgr, 0),
            "U+3687\tkRSUnicode\t35.6 66.6\n"
            "U+3687\tkRSKorean\t35.7\n"
            "U+3687\tkRSVantu_Japan1_6\tC+1533+85.3.10 V+1534+86.4.9 \n"
            "U+3687\tkHanYu\t00.00\n");
}

// Lines for `count` code points from `first` on, `step` apart.
std::string totalStrokesLines(int first, int count, int step) {
  std::string text;
  for (int i = 0; i < count; ++i) text += dataLine(first + i * step, "kTotalStrokes", std::to_string(i % 200));
  return text;
}

// The data has fields whose high bytes matter in either byte order: code
// points above U+FFFF, a HanYu page and a CID above 255, 300 records in one
// block and 261 blocks.
TEST(Image, RoundTripThroughFileBufferAndBigEndianCopy) {
  UnihanMgr source;
  ASSERT_EQ(loadText(source,
                     std::string(kOneCharText) +
                         "U+4E01\tkRSVantu_Japan1_6\tC+656+1.1.1 V+23058+2.2.2\n"
                         "U+4E01\tkJapaneseKun\tA B\n"
                         "U+4E01\tkHanyuPinlu\tdīng(61)\n"
                         "U+9FFF\tkRSUnicode\t214.9 213.0\n"
                         "U+9FFF\tkRSKangXi\t3.4\n"
                         "U+9FFF\tkHanyuPinlu\tdǐng(2)\n"
                         "U+20000\tkHanYu\t31713.090\n"
                         "U+20000\tkRSVantu_Japan1_6\tC+1533+85.3.10\n" +
                         totalStrokesLines(0x20000, 300, 1) + totalStrokesLines(0x30000, 259, 2)),
            0);
  const std::string image = writeImage(source);
  const std::string bigEndian = toBigEndian(image);
  ASSERT_NE(bigEndian, image);
  std::string flagTwo = image;
  flagTwo[19] = 2;  // only bit 0 decides the byte order

  for (const std::string* bytes : std::vector<const std::string*>{&image, &bigEndian, &flagTwo}) {
    UnihanMgr fromBuffer, fromFile;
    EXPECT_EQ(loadBuffer(fromBuffer, *bytes, bytes->size()), static_cast<int>(bytes->size()));
    EXPECT_EQ(fromFile.readUnihanBinary(CPath(testFile("copy.bin", *bytes))), 0);
    for (UnihanMgr* loaded : {&fromBuffer, &fromFile}) {
      EXPECT_TRUE(loaded->IsValid());
      EXPECT_TRUE(loaded->VersionCheck(1, 4));
      for (int cp : {0x4DFF, 0x4E00, 0x4E01, 0x4E02, 0x9FFF, 0x1FFFF, 0x20000, 0x200FF, 0x20100,
                     0x2012B, 0x2012C, 0x30000, 0x30001, 0x30002, 0x30204, 0x30206}) {
        EXPECT_EQ(describe(*loaded, cp), describe(source, cp)) << std::hex << cp;
      }
      EXPECT_EQ(loaded->getUTF32ForCID(656), 0x4E01);
      EXPECT_EQ(loaded->getUTF32ForCID(1533), 0x20000);
      EXPECT_EQ(writeImage(*loaded), image);
    }
  }
}

// What a buffer cut at `len` >= 40 keeps: the fields read whole, the record cut short as zeros.
std::string keptImage(const std::string& image, std::size_t len) {
  const std::string zeros(5, '\0');
  const std::string chars = len < 44 ? zeros.substr(1) : len < 46 ? image.substr(40, 2) + zeros.substr(3) : image.substr(40, 6);
  const std::string sets = len < 46 ? "" : len < 54 ? zeros.substr(1) : image.substr(46, 8);
  const std::string hanyu = len < 54 ? "" : len < 59 ? zeros : image.substr(54, 5);
  return image.substr(0, 34) + std::string{1, 0, char(!sets.empty()), 0, char(!hanyu.empty()), 0} + chars + sets + hanyu;
}

TEST(Image, BufferAndFileCutAtEveryLength) {
  const std::string image = oneCharImage();
  for (std::size_t len = 0; len <= image.size(); ++len) {
    UnihanMgr mgr;
    ASSERT_EQ(loadText(mgr, "U+5000\tkTotalStrokes\t8\nU+5000\tkRSVantu_Japan1_6\tC+2000+1.1.1\n"), 0);
    const int expected = len < 19 ? 0 : len == 19 ? 19 : len < 26 ? 20 : len < image.size() ? 0 : 59;
    EXPECT_EQ(loadBuffer(mgr, image, len), expected) << len;
    EXPECT_TRUE(mgr.IsValid()) << len;  // stays true from the text load either way
    // The header must be read whole before the old blocks go.
    EXPECT_EQ(mgr.totalStrokes(0x5000), len < 26 ? 8 : -1) << len;
    EXPECT_EQ(mgr.getUTF32ForCID(2000), 0x5000) << len;  // CID entries are never cleared
    if (len >= 40) {
      EXPECT_EQ(writeImage(mgr), keptImage(image, len)) << len;  // partial block kept
    }
    // The file reader takes a whole image or nothing.
    UnihanMgr fromFile;
    EXPECT_EQ(fromFile.readUnihanBinary(CPath(testFile("cut.bin", image.substr(0, len)))),
              len == image.size() ? 0 : -1) << len;
    EXPECT_EQ(fromFile.IsValid(), len == image.size()) << len;
  }
  UnihanMgr fresh;
  EXPECT_EQ(loadBuffer(fresh, image, 58), 0);
  EXPECT_FALSE(fresh.IsValid());
  EXPECT_EQ(fresh.readUnihanBinaryBuf(nullptr, 59), 0);
  EXPECT_EQ(loadBuffer(fresh, image + "trailing bytes", image.size() + 14), 73);
  EXPECT_EQ(fresh.readUnihanBinary(nullptr), -1);
  EXPECT_EQ(fresh.readUnihanBinary(CPath("/nonexistent/image.bin")), -1);
  EXPECT_EQ(fresh.readUnihanBinary(CPath(testFile("text.bin", kOneCharText))), -1);
  const std::string edge = imageHeader(1) + std::string("\0\x4E\0\0\xFF\xFF\0\0\0\0\xF6\x3F\0\0", 14) +
                           std::string(16373 * 4, '\0') + std::string("\0\0\0\x01\0", 5);  // ends 1 byte past 64 KiB
  EXPECT_EQ(fresh.readUnihanBinary(CPath(testFile("edge.bin", edge))), 0);
}

// An image cut inside a character's readings keeps the strings read in
// full, each list cut to them: at every cut, each field's readings are a
// prefix of the whole list, string for string.
TEST(Image, CutReadingsKeepTheirWholeStrings) {
  UnihanMgr source;
  ASSERT_EQ(loadText(source,
                     "U+4E00\tkMandarin\tyi1 yi2 yi4\n"
                     "U+4E00\tkJapaneseKun\tHITO HITOTSU\n"
                     "U+4E00\tkJapaneseOn\tICHI ITSU\n"
                     "U+4E00\tkHanyuPinlu\tyi1\n"),
            0);
  const std::string image = writeImage(source);
  const kelvorn::unihanPropT fields[] = {kMandarin, kJapaneseKun, kJapaneseOn, kHanyuPinlu};
  std::size_t partial = 0;
  std::size_t keptBefore = 0;
  for (std::size_t len = 0; len < image.size(); ++len) {
    UnihanMgr mgr;
    (void)loadBuffer(mgr, image, len);
    std::size_t kept = 0;
    for (const kelvorn::unihanPropT field : fields) {
      const std::vector<std::string> whole = readings(source, 0x4E00, field);
      const std::vector<std::string> cut = readings(mgr, 0x4E00, field);
      ASSERT_LE(cut.size(), whole.size()) << len;
      EXPECT_TRUE(std::equal(cut.begin(), cut.end(), whole.begin())) << len;
      kept += cut.size();
    }
    partial += kept > 0 && kept < 8 ? 1 : 0;
    EXPECT_GE(kept, keptBefore) << len;  // a cut inside a string keeps those before it
    keptBefore = kept;
  }
  EXPECT_GT(partial, 0U);  // some cuts fall between the strings
}

TEST(Image, HeaderFieldsAndBlockCountLimit) {
  UnihanMgr mgr;
  EXPECT_EQ(loadBuffer(mgr, imageHeader(0, 2, 0), 26), 26);
  EXPECT_TRUE(mgr.IsValid());
  EXPECT_TRUE(mgr.VersionCheck(2, 0));
  EXPECT_EQ(mgr.write(CPath(tempPath("v2.bin")), 1), 0);
  EXPECT_EQ(readFile(tempPath("v2.bin")), imageHeader(0, 2, 0));

  UnihanMgr swapped;  // each byte of the version numbers and of a block's bounds counts
  const std::string far = (imageHeader(1, 0x0102, 0x0304) + oneCharImage().substr(26))
                              .replace(29, 1, "\x12").replace(33, 1, "\x34");
  for (const std::string& bytes : {far, toBigEndian(far)}) {
    EXPECT_TRUE(loadBuffer(swapped, bytes, 59) == 59 && swapped.VersionCheck(0x0102, 0x0304));
    EXPECT_EQ(writeImage(swapped), far);
  }

  UnihanMgr big;
  ASSERT_EQ(loadText(big, kOneCharText), 0);
  // 32,767 blocks claimed, none present: a short image, not a huge allocation.
  EXPECT_EQ(loadBuffer(big, imageHeader(32767), 26), 0);
  EXPECT_EQ(big.totalStrokes(0x4E00), -1);
  ASSERT_EQ(loadText(big, kOneCharText), 0);
  const std::string negative = imageHeader(32768);
  EXPECT_THROW(loadBuffer(big, negative, negative.size()), std::length_error);
  EXPECT_EQ(big.totalStrokes(0x4E00), -1);  // the old blocks are gone
  EXPECT_THROW(big.readUnihanBinary(CPath(testFile("neg.bin", imageHeader(65535)))),
               std::length_error);
}

TEST(Image, StringsOutsideTheFormat) {
  const std::string head = imageHeader(1) + std::string("\x00\x4E\x00\x00\x00\x4E\x00\x00\x01\x00\x01\x00\x00\x00", 14) +
                           std::string(4, '\0');
  // A zero byte ends the string held; the next field is read after all bytes.
  const std::string zeroInside = head + std::string("\x00\x00\x00\x02\x04" "ab\0c" "\x01z", 11);
  UnihanMgr mgr;
  ASSERT_EQ(loadBuffer(mgr, zeroInside, zeroInside.size()), static_cast<int>(zeroInside.size()));
  EXPECT_EQ(readings(mgr, 0x4E00, kMandarin), (std::vector<std::string>{"ab", "z"}));
  
  const std::string emptySet = head + std::string(4, '\0');  // the image's last bytes
  EXPECT_EQ(loadBuffer(mgr, emptySet, emptySet.size()), static_cast<int>(emptySet.size()));
  for (int length : {63, 64, 200, 255}) {
    std::string image = head + std::string("\x00\x00\x00\x02\x01y", 6) + static_cast<char>(length) +
                        std::string(static_cast<std::size_t>(length), 'x');
    UnihanMgr other;
    EXPECT_EQ(loadBuffer(other, image, image.size()), length < 64 ? static_cast<int>(image.size()) : 0)
        << length;
    EXPECT_EQ(readings(other, 0x4E00, kMandarin).size(), length < 64 ? 2U : 1U) << length;  // "y" stays
    EXPECT_EQ(other.readUnihanBinary(CPath(testFile("long.bin", image))), length < 64 ? 0 : -1);
  }
}

TEST(Image, CountsFarBeyondTheData) {
  // Every count at its maximum over a handful of bytes: each reader stops at
  // the end without allocating for what is not there.
  const std::string image = imageHeader(1) + std::string("\x00\x4E\x00\x00\xFF\x4E\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF", 14) +
                            std::string("\x05\xFF\xFF\xFF\x01\x02", 6);
  UnihanMgr mgr;
  EXPECT_EQ(loadBuffer(mgr, image, image.size()), 0);
  EXPECT_EQ(mgr.totalStrokes(0x4E00), 5);
  EXPECT_EQ(mgr.radix(0x4E00, kRSUnicode, 0), 1);
  EXPECT_EQ(mgr.getNumVals(0x4E00, kRSVantu_Japan1_6), 0);  // the pair came whole, no CID entry
  EXPECT_EQ(mgr.totalStrokes(0x4E01), -1);  // inside the range, no record
  int v = 0;  // and of U+4E00 a flag without its pair, and no readings or HanYu record
  EXPECT_EQ(std::vector<int>({mgr.radix(0x4E00, kRSKangXi, 0), mgr.getNumVals(0x4E00, kMandarin),
                              mgr.getNumVals(0x4E01, kRSVantu_Japan1_6),
                              mgr.getkHanYuData(0x4E00, &v, &v, &v, &v)}),
            std::vector<int>({-1, 0, 0, -1}));
  EXPECT_EQ(mgr.readUnihanBinary(CPath(testFile("counts.bin", image))), -1);
}

// The CID table's first and last entries, and the CIDs either side of it,
// as the text reader and the image reader map them.
TEST(Image, CidTableEnds) {
  UnihanMgr fromText;
  ASSERT_EQ(loadText(fromText,
                     "U+4E00\tkRSVantu_Japan1_6\tC+1124+1.1.1\n"
                     "U+4E01\tkRSVantu_Japan1_6\tC+23057+1.1.1 V+1123+1.1.1 V+23058+1.1.1\n"
                     "U+4E02\tkRSVantu_Japan1_6\tV+655+1.1.1 V+657+1.1.1\n"),
            0);
  EXPECT_EQ(fromText.getUTF32ForCID(1124), 0x4E00);
  EXPECT_EQ(fromText.getUTF32ForCID(656), 0x4E00);
  ASSERT_EQ(loadText(fromText, "U+4E03\tkRSVantu_Japan1_6\tV+656+1.1.1\n"), 0);
  const std::string image = writeImage(fromText);
  UnihanMgr fromImage;
  ASSERT_EQ(loadBuffer(fromImage, image, image.size()), static_cast<int>(image.size()));
  for (UnihanMgr* mgr : {&fromText, &fromImage}) {
    EXPECT_EQ(mgr->getUTF32ForCID(1124), 0x4E03);  // 656 came last and shares the entry
    EXPECT_EQ(mgr->getUTF32ForCID(656), 0x4E03);
    EXPECT_EQ(mgr->getUTF32ForCID(23057), 0x4E01);
    for (unsigned int cid : {655u, 657u, 1123u, 23058u}) EXPECT_EQ(mgr->getUTF32ForCID(cid), -1) << cid;
  }
}

// 65,535 records in a block and 32,767 blocks are the most an image holds:
// they go out and come back whole; one more of either is refused before
// any file is made or an existing one touched.
TEST(Image, LargestBlockAndBlockCount) {
  struct Case {
    int count, step;
  };
  for (const Case c : {Case{65535, 1}, Case{32767, 2}}) {
    UnihanMgr most;
    ASSERT_EQ(loadText(most, totalStrokesLines(0x10000, c.count, c.step)), 0);
    const std::string image = writeImage(most);
    UnihanMgr loaded;
    ASSERT_EQ(loadBuffer(loaded, image, image.size()), static_cast<int>(image.size())) << c.count;
    const int last = 0x10000 + (c.count - 1) * c.step;
    for (int cp : {0xFFFF, 0x10000, 0x10001, 0x10002, last - 1, last, last + 1}) {
      EXPECT_EQ(describe(loaded, cp), describe(most, cp)) << std::hex << cp;
    }
    EXPECT_EQ(loaded.totalStrokes(last), (c.count - 1) % 200);

    UnihanMgr tooMany;
    ASSERT_EQ(loadText(tooMany, totalStrokesLines(0x10000, c.count + 1, c.step)), 0);
    const std::string fresh = tempPath("refused.bin");
    EXPECT_EQ(tooMany.write(CPath(fresh), 1), -1) << c.count;
    EXPECT_FALSE(fileExists(fresh));
    const std::string existing = testFile("kept.bin", "earlier bytes");
    EXPECT_EQ(tooMany.write(CPath(existing), 1), -1) << c.count;
    EXPECT_EQ(readFile(existing), "earlier bytes");
  }
}

TEST(Image, WriteFailuresTouchNothing) {
  UnihanMgr mgr;
  EXPECT_EQ(mgr.write(nullptr, 1), -1);
  EXPECT_EQ(mgr.write(CPath("/nonexistent/dir/out.bin"), 1), -1);
  EXPECT_EQ(mgr.write(CPath("/nonexistent/dir/out.txt"), 0), -1);
}

}  // namespace
