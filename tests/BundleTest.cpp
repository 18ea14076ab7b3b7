// The one door: every question answered by one kelvorn::Unihan, from text,
// from the installed files by every way of naming them, and from memory.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <tuple>
#include <thread>

#include "FieldsTestSupport.h"
#include "TestSupport.h"
#include "kelvorn/Unihan.h"

using fieldstest::errorOf;
using kelvorn::Unihan;
using testsupport::testFile;

namespace {

constexpr char kFixture[] =
    "U+4E01\tkRSUnicode\t1.1 1.2\n"
    "U+4E01\tkTotalStrokes\t2\n"
    "U+6C49\tkRSUnicode\t85.2\n"
    "U+6C49\tkMandarin\thàn\n"
    "U+6C49\tkTraditionalVariant\tU+6F22\n"
    "U+6C49\tkDefinition\tthe Chinese people, Chinese language\n"
    "U+676D\tkRSUnicode\t75.4\n"
    "U+676D\tkMandarin\tháng\n"
    "U+6F22\tkRSUnicode\t85.11\n"
    "U+6F22\tkMandarin\thàn\n"
    "U+6F22\tkSimplifiedVariant\tU+6C49\n"
    "U+6F22\tkDefinition\tChinese people; Chinese language\n"
    "U+884C\tkRSUnicode\t144.0\n"
    "U+884C\tkTotalStrokes\t6\n"
    "U+884C\tkMandarin\txíng\n"
    "U+884C\tkHanyuPinyin\t10019.020:xíng,háng\n"
    "U+884C\tkCantonese\thang4 hong4\n"
    "U+884C\tkDefinition\tgo; walk; move, travel\n";

// The questions every bundle of the same data answers alike.
std::string answers(const Unihan& u) {
  std::string out(u.field(U'行', "kDefinition").value_or("-"));
  for (const char32_t c : u.byReading("hang2")) out += kelvorn::utf8::encode(c);
  out += u.sortKey("漢字") + u.convert("漢行", kelvorn::Script::kSimplified);
  return out;
}

TEST(Bundle, TextAnswersEveryQuestion) {
  const std::string path = testFile("fixture.txt", kFixture);
  const std::string directory = testsupport::tempPath("text");
  std::filesystem::create_directory(directory);
  testFile("text/Unihan_A.txt", std::string(kFixture, 48));  // no line feed at its end
  testFile("text/Unihan_B.txt", kFixture + 49);
  for (const Unihan& u :
       {Unihan::open(path), Unihan::fromMemory(kFixture), Unihan::open(directory)}) {
    EXPECT_EQ(u.field(U'行', "kDefinition"), "go; walk; move, travel");
    EXPECT_EQ(u.field(U'杭', "kDefinition"), std::nullopt);
    EXPECT_NE(errorOf([&u] { (void)u.field(U'行', "kdefinition"); }).find("kDefinition"),
              std::string::npos);
    EXPECT_EQ(u.fields(U'汉').size(), 4u);
    EXPECT_EQ(u.fieldNames().size(), 8u);
    const std::optional<kelvorn::ExpandedValue> plain = u.expandedField(U'行', "kDefinition");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->kind, kelvorn::ExpandedValue::Kind::kString);
    EXPECT_EQ(plain->text, "go; walk; move, travel");
    EXPECT_EQ(u.expandedField(U'行', "kHanyuPinyin")->kind, kelvorn::ExpandedValue::Kind::kArray);
    EXPECT_EQ(u.charsWith("kMandarin", "hàn"), (std::vector<char32_t>{U'汉', U'漢'}));
    // kMandarin searches the dictionaries' readings too; a named field
    // answers its own.
    EXPECT_EQ(u.byReading("hang2"), (std::vector<char32_t>{U'杭', U'行'}));
    EXPECT_EQ(u.byReading("hong", "kCantonese"), std::vector<char32_t>{U'行'});
    EXPECT_NE(errorOf([&u] { (void)u.byReading("x", "kCantonse"); }).find("kCantonese"),
              std::string::npos);
    EXPECT_EQ(u.byReading("háng", kelvorn::Reading::kMandarin, kelvorn::ReadingMatch::kExact),
              (std::vector<char32_t>{U'杭', U'行'}));
    EXPECT_EQ(u.byReading("hang", kelvorn::Reading::kMandarin, kelvorn::ReadingMatch::kExact),
              std::vector<char32_t>{});
    // Two residuals under one radical: the character stands once.
    EXPECT_EQ(u.byRadical(1), std::vector<char32_t>{U'丁'});
    EXPECT_EQ(u.byRadical(85, kelvorn::Source::kRSKangXi), std::vector<char32_t>{});
    EXPECT_EQ(u.byTotalStrokes(6), std::vector<char32_t>{U'行'});
    EXPECT_EQ(std::make_pair(u.compare("汉", "漢"), u.compare("漢", "汉")), std::make_pair(-1, 1));
    EXPECT_GT(u.compare("汉字", "汉"), 0);
    EXPECT_EQ(u.compare("漢", "漢"), 0);
    EXPECT_LT(u.sortKey("杭"), u.sortKey("漢"));
    EXPECT_EQ(u.convert("漢行", kelvorn::Script::kSimplified), "汉行");
    EXPECT_EQ(u.convert("汉", kelvorn::Script::kTraditional), "漢");
    EXPECT_EQ(u.scriptClass(U'汉'), kelvorn::ScriptClass::kSimplifiedOnly);
    EXPECT_EQ(u.search("Chinese language"), (std::vector<char32_t>{U'汉', U'漢'}));
    EXPECT_EQ(u.variants(U'漢').size(), 1u);
  }
}

TEST(Bundle, ACoreImageAloneAnswersTheCoreAndRefusesTheRest) {
  const Unihan image = Unihan::fromMemory(Unihan::fromMemory(kFixture).bytes(), "core.bin");
  const std::string core = testFile("core.bin", image.bytes());
  for (const Unihan& alone : {image, Unihan::open(core)}) {
    EXPECT_EQ(alone.byTotalStrokes(6), std::vector<char32_t>{U'行'});
    EXPECT_NE(errorOf([&alone] { (void)alone.field(U'行', "kDefinition"); })
                  .find("core.bin: a binary image keeps twelve fields only"),
              std::string::npos);
    EXPECT_NE(errorOf([&alone] { (void)alone.search("go"); }), "");
  }
  // Every field may come from text beside an image, in a file or in memory,
  // but not from another core image; the index then keeps the core's order.
  const std::string expected = answers(Unihan::fromMemory(kFixture));
  EXPECT_EQ(answers(Unihan::open(core, testFile("all.txt", kFixture))), expected);
  EXPECT_EQ(answers(Unihan::fromMemory(image.bytes(), kFixture, "")), expected);
  for (const Unihan& twice :
       {Unihan::open(core, core), Unihan::fromMemory(image.bytes(), image.bytes(), "")}) {
    EXPECT_NE(errorOf([&twice] { (void)twice.fieldNames(); }).find("keeps twelve fields only"),
              std::string::npos);
    EXPECT_EQ(twice.byTotalStrokes(6), std::vector<char32_t>{U'行'});
  }
}

// The first questions may come from many threads at once; each companion
// is opened once and every thread sees it whole.
TEST(Bundle, FirstQuestionsFromManyThreads) {
  const Unihan u = Unihan::fromMemory(kFixture);
  const std::string expected = answers(Unihan::fromMemory(kFixture));
  std::vector<std::string> seen(4);
  std::vector<std::thread> threads;
  for (std::string& out : seen) {
    threads.emplace_back([&u, &out] { out = answers(Unihan(u)); });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(seen, std::vector<std::string>(4, expected));
}

// The installed files by every way of naming them answer alike; an index
// saved for other data is built anew rather than trusted.
TEST(Bundle, InstalledFilesOpenAlikeEveryWay) {
  const std::string dir = KELVORN_TEST_DATA_DIR;
  const std::string version(Unihan::bundledUnicodeVersion());
  const std::string core = dir + "/unihan-" + version + ".bin";
  const std::string fields = dir + "/unihan-fields-" + version + ".bin";
  const std::string index = dir + "/unihan-index-" + version + ".bin";
  const Unihan bundled = Unihan::bundled();
  const std::string expected = answers(bundled);  // 行's are docs/cpp-api.md's
  EXPECT_EQ(answers(Unihan::open(dir)), expected);
  EXPECT_EQ(answers(Unihan::open(core, fields, index)), expected);
  EXPECT_EQ(answers(Unihan::fromMemory(testsupport::readFile(core), testsupport::readFile(fields), testsupport::readFile(index))),
            expected);
  EXPECT_EQ(answers(Unihan::fromMemory(testsupport::readFile(core), testsupport::readFile(fields), "not an index")),
            expected);
  // The index pairs by the all-field image's header alone: an image damaged
  // past it still lends the saved index its marks (120' sorts after 120),
  // while the questions that read the image are refused.
  std::string damaged = testsupport::readFile(fields);
  damaged.back() = static_cast<char>(damaged.back() ^ 1);
  const std::vector<char32_t> radical120 = bundled.byRadical(120);
  ASSERT_NE(Unihan::open(core).byRadical(120), radical120);  // the core alone has no marks
  for (const Unihan& u : {Unihan::open(core, testFile("damaged.bin", damaged), index),
                          Unihan::fromMemory(testsupport::readFile(core), damaged,
                                             testsupport::readFile(index))}) {
    EXPECT_EQ(u.byRadical(120), radical120);
    EXPECT_THROW((void)u.field(U'行', "kDefinition"), kelvorn::Error);
  }
}

// The installed all-field image alone answers the field and lexicon
// questions as the whole bundle does, with no core image to be found; the
// core's typed questions answer nothing.
TEST(Bundle, FieldsOnlyReadsNoCoreImage) {
  const std::string name = "unihan-fields-" + std::string(Unihan::bundledUnicodeVersion()) + ".bin";
  testFile(name, testsupport::readFile(KELVORN_TEST_DATA_DIR "/" + name));
  const Unihan whole = Unihan::bundled();
  ASSERT_EQ(setenv("KELVORN_UNIHAN_DATA_DIR", testsupport::tempPath("").c_str(), 1), 0);
  EXPECT_THROW(Unihan::bundled(), kelvorn::Error);
  const Unihan fieldsOnly = Unihan::bundledFieldsOnly();
  EXPECT_EQ(fieldsOnly.field(U'行', "kDefinition"), whole.field(U'行', "kDefinition"));
  EXPECT_EQ(fieldsOnly.convert("汉字", kelvorn::Script::kTraditional), "漢字");
  EXPECT_EQ(fieldsOnly.search("water"), whole.search("water"));
  EXPECT_FALSE(fieldsOnly.totalStrokes(U'行').has_value());
  testFile(name, Unihan::fromMemory(kFixture).bytes());  // a core image in its place
  const std::string refusal = errorOf([] { (void)Unihan::bundledFieldsOnly().fieldNames(); });
  EXPECT_EQ(refusal.find("the bundled data: a binary image"), 0u);
  unsetenv("KELVORN_UNIHAN_DATA_DIR");
}

// The core tables beside the bundled image open in place of it: the store
// writes the image's own bytes. Tables that are damaged, or name an image of
// another size, are passed over for the image.
TEST(Bundle, CoreTablesOrTheImageAnswerAlike) {
  const std::string dir = KELVORN_TEST_DATA_DIR;
  const std::string version(Unihan::bundledUnicodeVersion());
  const std::string imageName = "unihan-" + version + ".bin";
  const std::string image = testsupport::readFile(dir + "/" + imageName);
  const std::string tables = testsupport::readFile(dir + "/unihan-core-tables-" + version + ".bin");
  ASSERT_GT(tables.size(), 64u);
  std::string otherImage = tables;
  otherImage[24] = static_cast<char>(otherImage[24] + 1);  // the image size the header names
  for (const std::string& beside : {tables, tables.substr(0, tables.size() / 2), otherImage, std::string()}) {
    testFile(imageName, image);
    testFile("unihan-core-tables-" + version + ".bin", beside);
    const Unihan u = Unihan::open(testsupport::tempPath(""));
    EXPECT_TRUE(u.bytes() == image);
    EXPECT_EQ(u.loadedImageTag(), Unihan::fromMemory(image).loadedImageTag());  // as if read whole
    EXPECT_EQ(u.totalStrokes(U'行'), 6);
  }
}

// Every reverse lookup of the 17.0 bundle and of the 15.0 core image against
// the per-character answers they are built from: each radical page of each
// source by simplified-radical marks, residual and code point (a character
// once, at its first place); each stroke count's characters in
// radical-stroke order; each kJapaneseOn reading's holders; each CID's
// character.
TEST(Bundle, ReverseLookupsAgreeWithThePerCharacterAnswers) {
  using kelvorn::Source;
  // Only the all-field store knows kRSUnicode's marks.
  const std::pair<Unihan, bool> releases[] = {
      {Unihan::bundled(), true}, {Unihan::open(KELVORN_TEST_DATA_DIR "/unihan-15.0.bin"), false}};
  for (const auto& [u, marked] : releases) {
    std::map<std::pair<int, int>, std::set<std::tuple<int, int, char32_t>>> pages;
    std::map<int, std::set<std::pair<std::string, char32_t>>> byStrokes;  // by sort key
    std::map<std::string, std::vector<char32_t>> onReadings;
    std::map<int, std::set<char32_t>> cidOwners;
    for (const char32_t cp : u.codePoints()) {
      const std::string value(marked ? u.field(cp, "kRSUnicode").value_or("") : "");
      for (int s = kelvorn::kRSUnicode; s <= kelvorn::kRSVantu_Japan1_6; ++s) {
        const std::vector<kelvorn::RadicalStroke> values = u.radicalStrokes(cp, Source(s));
        std::istringstream pieces(s == kelvorn::kRSUnicode ? value : "");
        for (const kelvorn::RadicalStroke& rs : values) {
          std::string piece;
          pieces >> piece;
          const auto marks = static_cast<int>(std::count(piece.begin(), piece.end(), '\''));
          pages[{s, rs.radical}].insert({marks, rs.residual, cp});
        }
      }
      const std::string key = u.sortKey(kelvorn::utf8::encode(cp));
      if (const auto strokes = u.totalStrokes(cp)) byStrokes[*strokes].insert({key, cp});
      for (const std::string& r : u.readings(cp, kelvorn::Reading::kJapaneseOn)) onReadings[r].push_back(cp);
      for (const kelvorn::Cid& c : u.cids(cp)) cidOwners[c.cid].insert(cp);
    }
    EXPECT_GE(pages.size(), 2 * 214u);  // kRSUnicode and kRSVantu_Japan1_6 at least
    for (const auto& [page, entries] : pages) {
      std::vector<char32_t> expected;
      for (const auto& entry : entries) {
        if (std::find(expected.begin(), expected.end(), std::get<2>(entry)) == expected.end()) {
          expected.push_back(std::get<2>(entry));
        }
      }
      ASSERT_EQ(u.byRadical(page.second, Source(page.first)), expected) << page.first << " " << page.second;
    }
    for (const auto& [strokes, keyed] : byStrokes) {
      std::vector<char32_t> expected;
      for (const auto& entry : keyed) expected.push_back(entry.second);
      ASSERT_EQ(u.byTotalStrokes(strokes), expected) << strokes;
    }
    for (const auto& [reading, holders] : onReadings) {
      ASSERT_EQ(u.byReading(reading, kelvorn::Reading::kJapaneseOn, kelvorn::ReadingMatch::kExact), holders)
          << reading;
    }
    // A CID maps back to a character that has it (656 shares 1124's entry);
    // one that characters have maps back if the table has its slot.
    cidOwners[656].insert(cidOwners[1124].begin(), cidOwners[1124].end());
    cidOwners[1124] = cidOwners[656];
    for (int cid = 0; cid < 23100; ++cid) {
      const std::optional<char32_t> back = u.charForCid(static_cast<unsigned int>(cid));
      ASSERT_TRUE(back ? cidOwners[cid].count(*back) == 1
                       : cidOwners[cid].empty() || cid < 1124 || cid >= 23058) << cid;
    }
    EXPECT_EQ(u.charForCid(656), u.charForCid(1124));
  }
}

}  // namespace
