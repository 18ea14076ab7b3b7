// The application API: answers through a const Unihan, loads that refuse
// what they must, and saves that are complete or absent.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>
#include <utility>

#include "FieldsTestSupport.h"
#include "TestSupport.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/Utf8.h"

using fieldstest::errorOf;
using kelvorn::Cid;
using kelvorn::RadicalStroke;
using kelvorn::Reading;
using kelvorn::Source;
using kelvorn::Unihan;
using testsupport::readFile;
using testsupport::tempPath;
using testsupport::testFile;

namespace {

constexpr char kFixture[] =
    "U+5B57\tkRSUnicode\t39.3\n"
    "U+5B57\tkRSVantu_Japan1_6\tC+2248+39.3.3 C+2248+40.3.3\n"
    "U+5B57\tkTotalStrokes\t6\n"
    "U+5B57\tkMandarin\tzì\n"
    "U+6F22\tkRSUnicode\t85.11\n"
    "U+6F22\tkRSKangXi\t85.11\n"
    "U+6F22\tkTotalStrokes\t14\n"
    "U+6F22\tkHanYu\t31713.090\n"
    "U+6F22\tkJapaneseOn\tKAN\n"
    "U+738B\tkRSUnicode\t96.-1 95.0\n"
    "U+738B\tkTotalStrokes\t4\n"
    "U+738B\tkHanYu\t10000.000\n";

Unihan fixture() { return Unihan::open(testFile("fixture.txt", kFixture)); }

// Every answer through a const reference, none as -1 or a stored byte.
TEST(App, AnswersThroughAConstValue) {
  const Unihan loaded = fixture();
  const Unihan& u = loaded;
  EXPECT_EQ(u.radicalStroke(U'漢', Source::kRSUnicode), (RadicalStroke{85, 11}));
  EXPECT_EQ(u.radicalStroke(U'王', Source::kRSUnicode), (RadicalStroke{96, -1}));
  EXPECT_EQ(u.radicalStroke(U'王', Source::kRSUnicode, 1), (RadicalStroke{95, 0}));
  EXPECT_EQ(u.radicalStroke(U'王', Source::kRSUnicode, 2), std::nullopt);
  EXPECT_EQ(u.radicalStroke(U'漢', Source::kRSUnicode, 1), std::nullopt);
  EXPECT_EQ(u.radicalStroke(U'漢', Source::kRSKangXi, 1), std::nullopt);
  EXPECT_EQ(u.radicalStrokes(U'王', Source::kRSUnicode).size(), 2u);
  EXPECT_EQ(u.radicalStroke(U'字', Source::kRSVantu_Japan1_6, 1), (RadicalStroke{40, 3}));
  ASSERT_EQ(u.cids(U'字').size(), 2u);
  const Cid second = u.cids(U'字')[1];
  EXPECT_EQ(std::vector<int>({second.cid, second.radical, second.radicalFormStrokes,
                              second.glyphStrokes}),
            std::vector<int>({2248, 40, 3, 6}));
  EXPECT_EQ(u.charForCid(2248), U'字');
  EXPECT_EQ(u.charForCid(2249), std::nullopt);
  EXPECT_EQ(u.totalStrokes(U'漢'), 14);
  EXPECT_EQ(u.readings(U'字', Reading::kMandarin), std::vector<std::string>{"zì"});
  EXPECT_TRUE(u.readings(U'漢', Reading::kMandarin).empty());
  EXPECT_EQ(u.hanYu(U'漢').value_or(kelvorn::HanYuPosition{}).page, 1713);
  EXPECT_EQ(u.hanYu(U'字'), std::nullopt);
  EXPECT_EQ(u.hanYu(U'王').value_or(kelvorn::HanYuPosition{}).volume, 1);  // page 0 is a value too
  // Not held: one past either end of the fixture's block, and far away.
  for (char32_t cp : {char32_t{0x5B56}, char32_t{0x738C}, char32_t{0x10FFFF}, char32_t{0x110000}}) {
    EXPECT_FALSE(u.contains(cp));
    EXPECT_EQ(u.totalStrokes(cp), std::nullopt);
    EXPECT_EQ(u.radicalStroke(cp, Source::kRSUnicode), std::nullopt);
  }  // codePoints() is test_reverse_lookups_of_the_fixture's
}

// The core keeps a line of U+110000, past the last code point; the
// application's answers end at U+10FFFF all the same.
TEST(App, NothingPastTheLastCodePoint) {
  const Unihan u = Unihan::fromMemory("U+10FFFF\tkMandarin\tzi\nU+110000\tkMandarin\tzi\n");
  EXPECT_TRUE(u.contains(0x10FFFF));
  EXPECT_EQ(u.readings(0x10FFFF, Reading::kMandarin), std::vector<std::string>{"zi"});
  EXPECT_FALSE(u.contains(0x110000));
  EXPECT_TRUE(u.readings(0x110000, Reading::kMandarin).empty());
  EXPECT_EQ(u.codePoints(), std::vector<char32_t>{0x10FFFF});
  const Unihan zero = Unihan::fromMemory(  // zeros are values too
      "U+0\tkRSUnicode\t0.0\nU+0\tkRSVantu_Japan1_6\tC+0+0.0.0 C+2248+0.0.0\n");
  EXPECT_EQ(zero.codePoints(), std::vector<char32_t>{0});
  EXPECT_TRUE(zero.radicalStroke(0, Source::kRSUnicode) && zero.cid(0) && zero.charForCid(2248) == U'\0');
}

TEST(App, SourcePreferenceIsPerValue) {
  const Unihan u = fixture();
  const Unihan unicodeFirst = u.withSourcePreference({Source::kRSUnicode, Source::kRSKangXi,
      Source::kRSKanWa, Source::kRSKorean, Source::kRSJapanese, Source::kRSVantu_Japan1_6});
  EXPECT_EQ(unicodeFirst.preferredRadicalStroke(U'字')->value, (RadicalStroke{39, 3}));
  EXPECT_EQ(u.preferredRadicalStroke(U'字')->source, Source::kRSVantu_Japan1_6);
  EXPECT_EQ(u.withSourcePreference({Source::kRSKanWa}).preferredRadicalStroke(U'字'),
            std::nullopt);  // a source named twice is test_source_preference's
}

void expectRefused(const std::string& path, const std::string& message) {
  EXPECT_EQ(errorOf([&] { (void)Unihan::open(path); }), path + ": " + message);
}

// A missing file's words are docs/cpp-api.md's.
TEST(App, OpenRefusesWhatItCannotTrust) {
  const std::string dir = tempPath("dir");
  ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
  expectRefused(dir, "is a directory, not a file");
  expectRefused(testFile("plain.txt", "x"),  // a single byte, read in one piece
                "not Unihan text (no code point with a kept field)");
  const std::string image = fixture().bytes();
  // A cut image, in these words (every door refusing every cut alike is
  // tests/doors').
  expectRefused(testFile("cut.bin", image.substr(0, 25)), "damaged or unsupported binary image");
  std::string otherVersion = image;
  otherVersion[20] = 9;
  expectRefused(testFile("version.bin", otherVersion),
                "binary image of another format version (this library reads 1.4)");
  const std::string fifo = tempPath("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  expectRefused(fifo, "is a FIFO, not a regular file");  // at once, no writer needed
  expectRefused("/proc/self/status", "changed while it was read");  // bytes past its size 0
  EXPECT_THROW(Unihan::open(""), kelvorn::Error);
  try {
    (void)Unihan::open(tempPath("missing.bin"));
  } catch (const kelvorn::Error& e) {
    EXPECT_EQ(e.systemError(), ENOENT);
  }
}

// The system reads a path up to its first NUL, so a path holding one would
// name another file (the image saved here) than the one given; a path to
// write ending in a slash names a directory. Both are refused, in words that
// say so.
TEST(App, PathsThatNameAnotherFileAreRefused) {
  const Unihan u = fixture();
  const std::string image = tempPath("image.bin");
  u.save(image);
  const std::string nul("\0", 1);
  EXPECT_EQ(errorOf([&] { (void)Unihan::open(image + nul + "junk"); }),
            image + "\\0junk: a path cannot hold a NUL byte");
  EXPECT_EQ(errorOf([&] { (void)u.save(image + nul); }), image + "\\0: a path cannot hold a NUL byte");
  const std::string dir = tempPath("dir");
  ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
  for (const std::string& path : {dir + "/", tempPath("none") + "/"}) {
    EXPECT_EQ(errorOf([&] { (void)u.save(path); }),
              path + ": ends in / and so names a directory, not a file to write");
  }
  EXPECT_EQ(readFile(image), u.bytes());
}

TEST(App, ImageAndTextLoadAlikeFromFileAndMemory) {
  const Unihan text = fixture();
  const std::string image = text.bytes();
  const Unihan fromFile = Unihan::open(testFile("image.bin", image));
  const Unihan fromMemory = Unihan::fromMemory(image);
  const Unihan textFromMemory = Unihan::fromMemory(kFixture);
  for (const Unihan* u : {&fromFile, &fromMemory, &textFromMemory}) {
    EXPECT_EQ(u->bytes(), image);
    EXPECT_EQ(u->bytes(kelvorn::SaveFormat::kDump), text.bytes(kelvorn::SaveFormat::kDump));
  }  // a header cut short is EdgeCases.AHeaderOnlyImageIsAnEmptyStore's
}

TEST(App, SaveIsCompleteOrAbsent) {
  const Unihan u = fixture();
  // Through links: the target is replaced and the links stay, up to the 40
  // the system follows; past them, the last link followed is replaced.
  std::string link = testFile("target.bin", "old");
  for (int i = 0; i < 41; ++i) {
    const std::string target = std::exchange(link, tempPath("link" + std::to_string(i)));
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  }
  EXPECT_EQ(u.save(tempPath("link39")), u.bytes().size());
  Unihan().save(link);  // replaces link0
  EXPECT_EQ(readFile(tempPath("target.bin")), u.bytes());
  // A file-size limit cuts the write short: the error says so and the old
  // file stays.
  const std::string kept = testFile("kept.bin", "old content");
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(u.save(kept), kelvorn::Error);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &old), 0);
  EXPECT_EQ(readFile(kept), "old content");
  EXPECT_THROW(u.save(tempPath("no/such/dir/out.bin")), kelvorn::Error);
}

TEST(App, CopiesShareOneStoreAcrossThreads) {
  const Unihan u = fixture();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&u] {
      for (int i = 0; i < 2000; ++i) {
        const Unihan copy = u;  // the count is atomic
        ASSERT_EQ(copy.totalStrokes(U'漢'), 14);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
}

// A file that grows while it is read is read up to its size at the start:
// the load ends, and refuses what changed under it.
TEST(App, GrowingTextEndsTheLoad) {
  const std::string path = testFile("growing.txt", kFixture);
  std::atomic<bool> stop{false};
  std::thread appender([&] {
    std::FILE* out = std::fopen(path.c_str(), "a");
    while (out != nullptr && !stop) {
      std::fputs("U+9000\tkTotalStrokes\t5\n", out);
      std::fflush(out);
    }
    if (out != nullptr) std::fclose(out);
  });
  for (int i = 0; i < 20; ++i) {
    try {
      EXPECT_EQ(Unihan::open(path).totalStrokes(U'漢'), 14);
    } catch (const kelvorn::Error& e) {
      EXPECT_EQ(std::string(e.what()), path + ": changed while it was read");
    }
  }
  stop = true;
  appender.join();
}

TEST(Utf8, DecodesStrictlyAndNamesTheOffset) {
  EXPECT_EQ(kelvorn::utf8::decode("a\xC2\x80\xDF\xBF\xE6\xBC\xA2\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"),
            (std::u32string{U'a', 0x80, 0x7FF, 0x6F22, 0x10000, 0x10FFFF}));
  const std::pair<const char*, const char*> bad[] = {
      {"\xC1\xBF", "byte 0xC1 at offset 0"},         // overlong two-byte
      {"ab\xE0\x9F\xBF", "byte 0xE0 at offset 2"},   // overlong three-byte
      {"\xED\xA0\x80", "byte 0xED at offset 0"},     // surrogate
      {"\xF4\x90\x80\x80", "byte 0xF4 at offset 0"}, // above U+10FFFF
      {"\xF5\x80\x80\x80", "byte 0xF5 at offset 0"},
      {"\xE6\xBC", "byte 0xE6 at offset 0"},         // cut short
      {"\xE6\x41\xA2", "byte 0x41 at offset 1"},     // not a continuation
      {"\x80", "byte 0x80 at offset 0"}};
  for (const auto& [text, where] : bad) {
    try {
      (void)kelvorn::utf8::decode(text);
      ADD_FAILURE() << where;
    } catch (const kelvorn::Error& e) {
      EXPECT_EQ(std::string(e.what()), std::string("not valid UTF-8: ") + where);
    }
  }
  EXPECT_EQ(kelvorn::utf8::encode(U"\u6F22\U00010000\x7F"), "\xE6\xBC\xA2\xF0\x90\x80\x80\x7F");
  EXPECT_EQ(kelvorn::utf8::encode(char32_t{0xD800}), "\xEF\xBF\xBD");
}

}  // namespace
