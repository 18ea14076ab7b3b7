// The Unihan databases of Unicode 17.0 (the bundled data) and 15.0: the image
// and dump bytes pinned (so every value the text gives, marked radicals and
// the sources 17.0 dropped among them), and the round trip through the binary
// image answering every query, around every block, as the text does; what
// each query answers is QueryTest's, TextReaderTest's and the docs'.
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>

#include "ImageBytes.h"
#include "TestSupport.h"

using namespace kelvorn;
using namespace testsupport;

namespace {

struct Release {
  const char* name;
  const char* version;
  const char* textPath;
  std::size_t imageSize;
  std::uint64_t imageHash;
  std::size_t dumpSize;
  std::uint64_t dumpHash;
  std::vector<std::pair<int, int>> blocks;  // the code points of each block the file makes
};

void PrintTo(const Release& release, std::ostream* out) { *out << release.name; }

const Release kUnicode17 = {
    "Unicode17", "17.0", KELVORN_TEST_DATA, 2097331, 0xa57a03c9db3ccea9, 8456054,
    0x1c090c839ef99f2c,
    {{0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xF900, 0xFA6D}, {0xFA70, 0xFAD9},
     {0x20000, 0x2A6DF}, {0x2A700, 0x2B81D}, {0x2B820, 0x2CEAD}, {0x2CEB0, 0x2EBE0},
     {0x2EBF0, 0x2EE5D}, {0x2F800, 0x2FA1D}, {0x30000, 0x3134A}, {0x31350, 0x33479}}};

const Release kUnicode15 = {
    "Unicode15", "15.0", KELVORN_EARLIER_TEST_DATA, 2134682, 0xeb95e3dc3c3bd62e, 9592788,
    0xa5b610dafd48011f,
    {{0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xF900, 0xFA6D}, {0xFA70, 0xFAD9},
     {0x20000, 0x2A6DF}, {0x2A700, 0x2B739}, {0x2B740, 0x2B81D}, {0x2B820, 0x2CEA1},
     {0x2CEB0, 0x2EBE0}, {0x2F800, 0x2FA1D}, {0x30000, 0x3134A}, {0x31350, 0x323AF}}};

// 64-bit FNV-1a: enough to notice any change in an image or dump.
std::uint64_t fnv1a(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3ULL;
  return hash;
}

// Each release's text is loaded once for the whole suite.
UnihanMgr& loadedText(const Release& release) {
  static std::map<std::string, std::unique_ptr<UnihanMgr>> loaded;
  std::unique_ptr<UnihanMgr>& slot = loaded[release.version];
  if (!slot) {
    slot = std::make_unique<UnihanMgr>();
    EXPECT_EQ(slot->readUnihan(CPath(release.textPath)), 0);
  }
  return *slot;
}

class RealData : public testing::TestWithParam<Release> {
 protected:
  const Release& release() const { return GetParam(); }
  UnihanMgr& text() const { return loadedText(GetParam()); }
};

TEST_P(RealData, ImageAndDumpBytesArePinned) {
  const std::string image = writeImage(text());
  EXPECT_EQ(image.size(), release().imageSize);
  EXPECT_EQ(fnv1a(image), release().imageHash) << std::hex << fnv1a(image);
  const std::string dump = writeImage(text(), 0);
  EXPECT_EQ(dump.size(), release().dumpSize);
  EXPECT_EQ(fnv1a(dump), release().dumpHash) << std::hex << fnv1a(dump);
}

TEST_P(RealData, ImageRoundTripAnswersEveryQueryAsBefore) {
  const std::string image = writeImage(text());
  const int size = static_cast<int>(image.size());
  UnihanMgr fromBuffer, fromFile, fromBigEndian;
  ASSERT_EQ(loadBuffer(fromBuffer, image, image.size()), size);
  ASSERT_EQ(fromFile.readUnihanBinary(CPath(tempPath("image.bin"))), 0);
  const std::string bigEndian = toBigEndian(image);
  ASSERT_EQ(loadBuffer(fromBigEndian, bigEndian, bigEndian.size()), size);
  for (UnihanMgr* loaded : {&fromBuffer, &fromFile, &fromBigEndian}) {
    EXPECT_TRUE(loaded->IsValid());
    EXPECT_TRUE(loaded->VersionCheck(1, 4));
    EXPECT_EQ(writeImage(*loaded), image);
  }
  int mismatches = 0;
  for (const auto& [first, last] : release().blocks) {
    for (int cp = first - 2; cp <= last + 2 && mismatches < 5; ++cp) {
      const std::string expected = describe(text(), cp);
      mismatches += expected != describe(fromBuffer, cp) || expected != describe(fromFile, cp);
      EXPECT_EQ(describe(fromBuffer, cp), expected) << std::hex << cp;
    }
  }
  EXPECT_EQ(mismatches, 0);
  for (unsigned int cid = 0; cid < 70000; ++cid) {
    ASSERT_EQ(fromBuffer.getUTF32ForCID(cid), text().getUTF32ForCID(cid)) << cid;
    ASSERT_EQ(fromBigEndian.getUTF32ForCID(cid), text().getUTF32ForCID(cid)) << cid;
  }
}

INSTANTIATE_TEST_SUITE_P(Releases, RealData, testing::Values(kUnicode17, kUnicode15),
                         [](const testing::TestParamInfo<Release>& info) {
                           return std::string(info.param.name);
                         });

// Reading 211''.5 as 211'.5 would: the 17.0 text with every mark cut to one
// apostrophe makes the same image, byte for byte.
TEST(Unicode17, MarksReadAsOneApostropheWould) {
  std::string text = readFile(kUnicode17.textPath);
  ASSERT_FALSE(text.empty());
  std::size_t rewritten = 0;
  std::string single;
  single.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\'' && i > 0 && text[i - 1] == '\'') {
      ++rewritten;
      continue;
    }
    single += text[i];
  }
  EXPECT_GT(rewritten, 80u);
  UnihanMgr fromSingle;
  ASSERT_EQ(loadText(fromSingle, single), 0);
  EXPECT_EQ(writeImage(fromSingle), writeImage(loadedText(kUnicode17)));
}

}  // namespace
