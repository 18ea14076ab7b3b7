// Unihan text into the all-field store: which lines count, how values are
// kept, and what is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <utility>

#include "FieldsTestSupport.h"
#include "support/Files.h"
#include "support/TestDir.h"

using kelvorn::UnihanFields;
using fieldstest::build;
using fieldstest::errorOf;
using fieldstest::valueOr;
using testsupport::tempPath;
using testsupport::writeFile;

namespace {

TEST(FieldsText, AnswersEveryQueryFromUnsortedLines) {
  const std::string longName = "kZ" + std::string(62, 'z');  // 64 bytes, the longest a typo may be
  const UnihanFields f = build(
      "U+3400\t" + longName + "\tx\n"
      "U+6F22\tkTotalStrokes\t14\n"
      "U+3400\tkCangjie\tTM\n"
      "U+6F22\tkCangjie\tETLO\nU+6F22\tkZFuture\tnew  field\tvalue \n"
      "U+3400\tkJapanese\tキュウ おか\n");
  EXPECT_EQ(f.unicodeVersion(), "17.0");
  EXPECT_EQ(f.fieldNames(),
            (std::vector<std::string_view>{"kCangjie", "kJapanese", "kTotalStrokes", "kZFuture", longName}));
  EXPECT_EQ(f.codePoints(), (std::vector<char32_t>{0x3400, 0x6F22}));
  EXPECT_EQ(valueOr(f.value(0x6F22, "kCangjie"), "-"), "ETLO");
  // A value is the rest of the line, inner tabs and spaces included.
  EXPECT_EQ(valueOr(f.value(0x6F22, "kZFuture"), "-"), "new  field\tvalue ");
  EXPECT_EQ(f.values(0x6F22, "kZFuture"),
            (std::vector<std::string_view>{"new", "field\tvalue"}));
  EXPECT_EQ(f.values(0x3400, "kJapanese"), (std::vector<std::string_view>{"キュウ", "おか"}));
  EXPECT_TRUE(f.values(0x3400, "kTotalStrokes").empty());
  EXPECT_FALSE(f.value(0x3400, "kTotalStrokes"));
  // A name the data does not have is refused, naming the nearest field
  // when one is near: a typo must not read as "no value".
  const std::pair<std::string_view, std::string_view> unknown[] = {
      {"kcangjie", "no field kcangjie in the data; did you mean kCangjie?"},
      {"kTotalStroke", "no field kTotalStroke in the data; did you mean kTotalStrokes?"},
      {"kZFutur3", "no field kZFutur3 in the data; did you mean kZFuture?"},
      {"kJAPANE", "no field kJAPANE in the data; did you mean kJapanese?"},
      {"kzfutu", "no field kzfutu in the data; did you mean kZFuture?"},
      {"kZFut", "no field kZFut in the data"},
      {"kTotalStrxyz", "no field kTotalStrxyz in the data; did you mean kTotalStrokes?"},
      {"kTotalSxyzwv", "no field kTotalSxyzwv in the data"},
      {"kNoSuchField", "no field kNoSuchField in the data"},
      {"", "no field  in the data"},
  };
  for (const auto& [name, message] : unknown) {
    EXPECT_EQ(errorOf([&] { (void)f.value(0x3400, name); }), message);
    EXPECT_EQ(errorOf([&] { (void)f.values(0x3400, name); }), message);
    EXPECT_EQ(errorOf([&] { (void)f.requireField(name); }), message);
  }
  EXPECT_EQ(errorOf([&] { (void)f.requireField(longName.substr(0, 63) + "y"); }),
            "no field " + longName.substr(0, 63) + "y in the data; did you mean " + longName + "?");
  EXPECT_EQ(errorOf([&] { (void)f.requireField(longName + "z"); }), "no field " + longName + "z in the data");
  EXPECT_EQ(f.requireField("kJapanese"), 1u);
  EXPECT_EQ(errorOf([&] { (void)f.value(0x3400, std::string(100, 'k')); }),
            "no field " + std::string(100, 'k') + " in the data");
  EXPECT_FALSE(f.value(0x3401, "kCangjie"));
  EXPECT_FALSE(f.value(0xFFFFFFFF, "kCangjie"));
  const std::vector<kelvorn::FieldValue> all = f.fields(0x6F22);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].field, "kCangjie");
  EXPECT_EQ(all[1].field, "kTotalStrokes");
  EXPECT_EQ(all[1].value, "14");
  EXPECT_EQ(all[2].field, "kZFuture");
  EXPECT_TRUE(f.fields(0x4E00).empty());
  EXPECT_EQ(f.codePointsWith("kCangjie"), (std::vector<char32_t>{0x3400, 0x6F22}));
  EXPECT_EQ(f.codePointsWith("kTotalStrokes"), (std::vector<char32_t>{0x6F22}));
  EXPECT_TRUE(f.codePointsWith("kNoSuchField").empty());
  EXPECT_EQ(f.fieldIndex("kTotalStrokes"), std::optional<std::size_t>(2));
  EXPECT_EQ(valueOr(f.valueAt(0x6F22, 2), "-"), "14");
  EXPECT_FALSE(f.valueAt(0x6F22, 4));
}

TEST(FieldsText, SkipsCommentsBlanksByteOrderMarkAndLineEnds) {
  const UnihanFields f = build(
      "\xEF\xBB\xBF# Unihan\r\n"
      "#\tU+4E00\tkCangjie\tM\n"
      "\n"
      " \t \r\n"
      "U+4E00\tkTotalStrokes\t1\r\n"
      "U+4E01\tkTotalStrokes\t2\r\r\n"
      "U+4E02\tkTotalStrokes\t3");
  EXPECT_EQ(f.codePointCount(), 3u);
  EXPECT_EQ(f.fieldNames(), (std::vector<std::string_view>{"kTotalStrokes"}));
  EXPECT_EQ(valueOr(f.value(0x4E00, "kTotalStrokes"), "-"), "1");
  // Only the one CR of a CRLF goes; another is the value's own.
  EXPECT_EQ(valueOr(f.value(0x4E01, "kTotalStrokes"), "-"), "2\r");
  EXPECT_EQ(valueOr(f.value(0x4E02, "kTotalStrokes"), "-"), "3");
  EXPECT_TRUE(build("").codePoints().empty());
  EXPECT_TRUE(build("# nothing\n\n").fieldNames().empty());
}

TEST(FieldsText, RefusesEveryMalformedLineNamingIt) {
  const char* const bad[] = {
      "U+4E0\tkA\tx",         // three digits
      "U+0004E00\tkA\tx",     // seven
      "U+110000\tkA\tx",      // past the last code point
      "U+D800\tkA\tx",        // a surrogate
      "U+4E0G\tkA\tx",        // not hexadecimal
      "U+4e0g\tkA\tx",
      "U",
      "u+4E00\tkA\tx",        // the prefix is upper case
      "U+4E00 kA x",          // no tabs
      "U+4E00\tkA",           // no value
      "U+4E00\tkA\t",         // an empty value
      "U+4E00\t\tx",          // an empty field name
      "U+4E00\tk-A\tx",       // not a field name
      "U+4E00\tkA\t\xC3",     // cut UTF-8
      "U+4E00\tkA\t\xC0\xAF",  // overlong UTF-8
      "\xEF\xBB\xBFU+4E00\tkA\tx",  // a byte-order mark past the start
      " U+4E00\tkA\tx",       // leading space
  };
  for (const char* line : bad) {
    const std::string message = errorOf([&] { build(std::string("U+3400\tkA\ty\n") + line + "\n"); });
    EXPECT_NE(message.find("t.txt:2: not a Unihan data line"), std::string::npos)
        << line << " -> " << message;
  }
  EXPECT_EQ(valueOr(build("U+0000\tkA\tx\nU+10FFFF\tkA\ty\nU+FFFFF\tkA\tz\n").value(0x10FFFF, "kA"),
                    "-"),
            "y");
  EXPECT_EQ(valueOr(build("U+fa0e\tk_z\tx\n").value(0xFA0E, "k_z"), "-"), "x");
}

TEST(FieldsText, RefusesAFieldGivenTwiceForOneCodePoint) {
  const std::string message = errorOf([] {
    build("U+4E00\tkA\tx\nU+4E01\tkA\tx\nU+4E00\tkB\tx\nU+4E00\tkA\tx\n");
  });
  EXPECT_NE(message.find("t.txt:4: U+4E00 kA given again (first at t.txt:1)"), std::string::npos)
      << message;
}

// Each field on a code point of its own makes a field set of its own, one
// bit a field: 512 fields stay within a few times the text, and the 513th
// is refused at its line rather than let the image grow with their square.
TEST(FieldsText, LimitsTheFieldsSoTheImageStaysLinear) {
  std::string text;
  char line[48];
  for (int i = 0; i < 512; ++i) {
    (void)std::snprintf(line, sizeof line, "U+%X\tkField%d\tv\n", 0x4E00 + i, i);
    text += line;
  }
  const UnihanFields fields = build(text);
  EXPECT_EQ(fields.fieldNames().size(), 512U);
  EXPECT_EQ(fields.imageBytes().size(), 52170u);  // under six times the text
  EXPECT_EQ(errorOf([&] { build(text + "U+9FA0\tkOneMore\tv\n"); }),
            "t.txt:513: field kOneMore is one more than the 512 distinct fields an all-field "
            "image holds");
}

// A path holding a NUL would name the file before the NUL: the text sources
// refuse it as the file opener and the writer do (AppTest).
TEST(FieldsText, RefusesPathsHoldingANul) {
  const std::string text = writeFile(tempPath("t.txt"), "U+4E00\tkA\tx\n");
  EXPECT_EQ(errorOf([&] { (void)UnihanFields::fromText({text + std::string("\0", 1)}, "17.0"); }),
            text + "\\0: a path cannot hold a NUL byte");
}

// Entries of one code point are found by the fields below them in its set,
// across 64-bit words; values are found by their LEB128 lengths, across the
// one- and two-byte forms.
TEST(FieldsText, FindsFieldsAcrossSetWordsAndValuesAcrossLengthForms) {
  std::string text;
  const std::size_t lengths[] = {1, 127, 128, 16383, 16384};
  for (int i = 0; i < 130; ++i) {
    char name[8];
    (void)std::snprintf(name, sizeof name, "k%03d", i);
    text += "U+4E00\t" + std::string(name) + "\t" + std::string(lengths[i % 5], 'a' + i % 26) + "\n";
    if (i % 63 == 0) text += "U+4E01\t" + std::string(name) + "\tv" + std::to_string(i) + "\n";
  }
  const UnihanFields f = build(text);
  ASSERT_EQ(f.fieldCount(), 130u);
  for (int i = 0; i < 130; ++i) {
    char name[8];
    (void)std::snprintf(name, sizeof name, "k%03d", i);
    EXPECT_EQ(valueOr(f.value(0x4E00, name), "-"),
              std::string(lengths[i % 5], static_cast<char>('a' + i % 26))) << name;
    EXPECT_EQ(valueOr(f.value(0x4E01, name), "-"), i % 63 == 0 ? "v" + std::to_string(i) : "-");
  }
  EXPECT_EQ(f.fields(0x4E00).size(), 130u);
  EXPECT_EQ(f.fields(0x4E01).size(), 3u);
}

// Code points at the edges of the 256-wide pages the lookup narrows to.
TEST(FieldsText, FindsCodePointsAtPageEdges) {
  const char32_t held[] = {0x0, 0xFF, 0x100, 0x1FF, 0x300, 0x20000, 0x2FFFF, 0x10FFFF};
  std::string text;
  for (const char32_t cp : held) {
    char line[32];
    (void)std::snprintf(line, sizeof line, "U+%04X\tkA\t%X\n", static_cast<unsigned>(cp),
                        static_cast<unsigned>(cp));
    text += line;
  }
  const UnihanFields f = build(text);
  for (const char32_t cp : held) {
    char hex[16];
    (void)std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(cp));
    EXPECT_EQ(valueOr(f.value(cp, "kA"), "-"), hex);
    EXPECT_TRUE(f.contains(cp));
  }
  for (const char32_t cp : {0x1, 0xFE, 0x101, 0x200, 0x2FF, 0x301, 0x1FFFF, 0x30000, 0x10FFFE,
                            0x110000}) {
    EXPECT_FALSE(f.contains(static_cast<char32_t>(cp))) << cp;
  }
}

TEST(FieldsText, ReadsSplitFilesAndDirectoriesInNameOrder) {
  const std::filesystem::path dir = tempPath("split");
  std::filesystem::create_directory(dir);
  writeFile((dir / "Unihan_Readings.txt").string(), "U+4E00\tkMandarin\tyī\n");
  writeFile((dir / "Unihan_IRGSources.txt").string(),
            "# IRG\nU+4E01\tkTotalStrokes\t2\nU+4E00\tkTotalStrokes\t1\n");
  writeFile((dir / "ReadMe.txt").string(), "not data");
  const UnihanFields f = UnihanFields::fromText({dir.string()}, "15.0");
  EXPECT_EQ(f.unicodeVersion(), "15.0");
  EXPECT_EQ(f.codePoints(), (std::vector<char32_t>{0x4E00, 0x4E01}));
  EXPECT_EQ(valueOr(f.value(0x4E00, "kMandarin"), "-"), "yī");

  // The same field from two files is a repeat like any other, named by file.
  const std::string extra = writeFile(tempPath("extra.txt"), "\nU+4E01\tkTotalStrokes\t3\n");
  const std::string message = errorOf([&] { UnihanFields::fromText({dir.string(), extra}, "15.0"); });
  EXPECT_NE(message.find("extra.txt:2: U+4E01 kTotalStrokes given again (first at " +
                         (dir / "Unihan_IRGSources.txt").string() + ":2)"),
            std::string::npos)
      << message;

  const std::string bad = writeFile((dir / "Unihan_Zz.txt").string(), "U+4E00\tkA\n");
  EXPECT_NE(errorOf([&] { UnihanFields::fromText({dir.string()}, "15.0"); }).find(bad + ":1:"),
            std::string::npos);
  const std::filesystem::path empty = tempPath("empty");
  std::filesystem::create_directory(empty);
  EXPECT_NE(errorOf([&] { UnihanFields::fromText({empty.string()}, "15.0"); })
                .find("no Unihan_*.txt files"),
            std::string::npos);
  const std::string missing = tempPath("missing.txt");
  EXPECT_NE(errorOf([&] { UnihanFields::fromText({missing}, "15.0"); }).find(missing + ": no such file"),
            std::string::npos);
  EXPECT_NE(errorOf([&] { UnihanFields::fromText({extra}, ""); }).find("Unicode version"),
            std::string::npos);
}

}  // namespace
