// The lexicon over small stores made for each case: the variant grammar at
// its edges, the script classes, conversion (lines, bad UTF-8, characters
// that list themselves or several others), gloss search and lookups by value.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "FieldsTestSupport.h"
#include "fields/EnglishEndings.h"
#include "fields/LexiconFormat.h"
#include "fields/SearchRank.h"
#include "fields/VariantValues.h"
#include "kelvorn/UnihanLexicon.h"

using fieldstest::build;
using fieldstest::errorOf;
using kelvorn::Script;
using kelvorn::ScriptClass;
using kelvorn::UnihanLexicon;
using kelvorn_fields_private::parseVariantValue;

namespace {

using Chars = std::vector<char32_t>;

// 汉/漢 one to one; 后 lists itself among its traditional forms, and 後
// simplifies to 后 alone; 开 lists itself and is not in everyday traditional
// use; 乾 lists itself first among its simplified forms and is; of 发's two
// traditional forms only the second is marked everyday; 𠀀 becomes a
// character past the BMP, and so does é, twice as long.
constexpr std::string_view kVariants =
    "U+53D1\tkTraditionalVariant\tU+767C U+9AEE\n"
    "U+9AEE\tkUnihanCore2020\tHT\n"
    "U+540E\tkTraditionalVariant\tU+540E U+5F8C\n"
    "U+5F00\tkTraditionalVariant\tU+5F00 U+958B\n"
    "U+958B\tkSimplifiedVariant\tU+5F00 U+958B\n"
    "U+4E7E\tkSimplifiedVariant\tU+4E7E U+5E72\nU+4E7E\tkUnihanCore2020\tGT\n"
    "U+5F8C\tkSimplifiedVariant\tU+540E\n"
    "U+6C49\tkTraditionalVariant\tU+6F22\n"
    "U+6F22\tkSimplifiedVariant\tU+6C49\n"
    "U+6F22\tkSemanticVariant\tU+6F22<kMatthews U+17D80<kHanYu:TZ,kLau  U+zz\n"
    "U+4EBA\tkDefinition\tman; people; mankind\n"
    "U+20000\tkTraditionalVariant\tU+2A6D6\n"
    "U+2A6D6\tkSimplifiedVariant\tU+20000\n"
    "U+00E9\tkSimplifiedVariant\tU+20000\n";

TEST(VariantValues, ReadsTheGrammarAndSetsAsideWhatIsNot) {
  const auto value = parseVariantValue("U+5154<kMatthews:T,kLau U+10FFFF u+6C49 U+6c49<kHanYu:TZ");
  ASSERT_EQ(value.targets.size(), 3u);
  EXPECT_EQ(value.targets[0].codePoint, 0x5154u);
  EXPECT_EQ(value.targets[0].sources, (std::vector<std::string_view>{"kMatthews:T", "kLau"}));
  EXPECT_EQ(value.targets[1].codePoint, 0x10FFFFu);
  EXPECT_TRUE(value.targets[1].sources.empty());
  EXPECT_EQ(value.targets[2].codePoint, 0x6C49u);
  EXPECT_EQ(value.targets[2].sources, (std::vector<std::string_view>{"kHanYu:TZ"}));
  EXPECT_EQ(value.invalid, (std::vector<std::string_view>{"u+6C49"}));

  // Spaces at the ends and in runs give no pieces at all.
  EXPECT_EQ(parseVariantValue("  U+4E00   U+4E01 ").targets.size(), 2u);
  EXPECT_TRUE(parseVariantValue("").targets.empty());
  // Each of these pieces is refused whole, and its neighbours are kept.
  for (const std::string_view bad :
       {"U+123", "U+1234567", "U+110000", "U+D800", "U+DFFF", "U+", "U+12G4", "X+1234", "U+4E00<",
        "U+4E00<,kLau", "U+4E00<kLau,", "U+4E00<kLau:", "U+4E00<kLau:T1", "U+4E00<1kLau",
        "U+4E00<kLau<kFenn", "U+4E00kLau", "U+4E00\t"}) {
    const std::string value = "U+4E00 " + std::string(bad) + " U+4E01";
    const auto parsed = parseVariantValue(value);
    EXPECT_EQ(parsed.targets.size(), 2u) << bad;
    EXPECT_EQ(parsed.invalid, (std::vector<std::string_view>{bad})) << bad;
  }
  EXPECT_EQ(parseVariantValue("U+0000").targets.at(0).codePoint, 0u);
  EXPECT_EQ(parseVariantValue("U+4e0f").targets.at(0).codePoint, 0x4E0Fu);  // lower-case digits
  EXPECT_EQ(parseVariantValue("U+E000<k_1").targets.at(0).sources.at(0), "k_1");
}

TEST(Lexicon, VariantsAndScriptClasses) {
  const UnihanLexicon lexicon(build(kVariants));
  const std::vector<kelvorn::Variant> v = lexicon.variants(0x6F22);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].field, "kSimplifiedVariant");
  EXPECT_EQ(v[0].codePoint, 0x6C49u);
  EXPECT_EQ(v[1].field, "kSemanticVariant");
  EXPECT_EQ(v[1].sources, (std::vector<std::string_view>{"kMatthews"}));
  EXPECT_EQ(v[2].codePoint, 0x17D80u);
  EXPECT_EQ(v[2].sources, (std::vector<std::string_view>{"kHanYu:TZ", "kLau"}));
  EXPECT_TRUE(lexicon.variants(0x4EBA).empty());

  EXPECT_EQ(lexicon.scriptClass(0x6C49), ScriptClass::kSimplifiedOnly);
  EXPECT_EQ(lexicon.scriptClass(0x6F22), ScriptClass::kTraditionalOnly);
  EXPECT_EQ(lexicon.scriptClass(0x540E), ScriptClass::kBoth);  // lists itself
  EXPECT_EQ(lexicon.scriptClass(0x4E7E), ScriptClass::kBoth);
  EXPECT_EQ(lexicon.scriptClass(0x4EBA), ScriptClass::kNeither);
  EXPECT_EQ(lexicon.scriptClass(0x110000), ScriptClass::kNeither);
}

TEST(Lexicon, ConvertsCharacterByCharacterKeepingEverythingElse) {
  const UnihanLexicon lexicon(build(kVariants));
  EXPECT_EQ(lexicon.convert(U'漢', Script::kSimplified), U'汉');
  EXPECT_EQ(lexicon.convert(U'后', Script::kTraditional), U'後');  // 後 stands for it alone
  EXPECT_EQ(lexicon.convert(U'开', Script::kTraditional), U'開');  // not everyday as it is
  EXPECT_EQ(lexicon.convert(U'開', Script::kSimplified), U'开');   // lists 开 first
  EXPECT_EQ(lexicon.convert(U'乾', Script::kSimplified), U'乾');   // everyday as it is
  EXPECT_EQ(lexicon.convert(U'发', Script::kTraditional), U'髮');  // the everyday one of two
  EXPECT_EQ(lexicon.convert(U'汉', Script::kTraditional), U'漢');
  EXPECT_EQ(lexicon.convert(0x2A6D6, Script::kSimplified), 0x20000u);
  EXPECT_EQ(lexicon.convert(0x2A6D7, Script::kSimplified), 0x2A6D7u);  // past the table
  EXPECT_EQ(lexicon.conversionTable(Script::kSimplified).size(), 0x2A6D7u);

  EXPECT_EQ(lexicon.convert("漢人 A\r\n後\n\n𪛖", Script::kSimplified), "汉人 A\r\n后\n\n𠀀");
  EXPECT_EQ(lexicon.convert("𠀀汉x\n", Script::kTraditional), "𪛖漢x\n");
  EXPECT_EQ(lexicon.convert("", Script::kTraditional), "");
  // Every character doubles here, two bytes to four, up to the last one.
  std::string many;
  for (int i = 0; i < 1000; ++i) many += "\xC3\xA9";
  EXPECT_EQ(lexicon.convert(many, Script::kSimplified).substr(3996), "\xF0\xA0\x80\x80");

  const kelvorn::Conversion c = lexicon.convertReporting("a发\n后乾", Script::kTraditional);
  EXPECT_EQ(c.text, "a髮\n後乾");
  ASSERT_EQ(c.ambiguous.size(), 2u);
  EXPECT_EQ(c.ambiguous[0].offset, 1u);
  EXPECT_EQ(c.ambiguous[0].index, 1u);
  EXPECT_EQ(c.ambiguous[0].chosen, U'髮');
  EXPECT_EQ(c.ambiguous[0].candidates, (Chars{U'發', U'髮'}));
  EXPECT_EQ(c.ambiguous[1].offset, 5u);
  EXPECT_EQ(c.ambiguous[1].index, 3u);
  EXPECT_EQ(c.ambiguous[1].chosen, U'後');
  // 乾 lists two simplified forms, but conversion to traditional does not ask.
  EXPECT_EQ(lexicon.convertReporting("乾", Script::kSimplified).ambiguous.size(), 1u);
}

// Targets at each edge of the UTF-8 lengths, written out byte for byte.
TEST(Lexicon, ConversionWritesEveryLengthOfUtf8) {
  const UnihanLexicon lexicon(build(
      "U+4E00\tkSimplifiedVariant\tU+007F\n"
      "U+4E01\tkSimplifiedVariant\tU+0080\n"
      "U+4E02\tkSimplifiedVariant\tU+07FF\n"
      "U+4E03\tkSimplifiedVariant\tU+0800\n"
      "U+4E04\tkSimplifiedVariant\tU+FFFF\n"
      "U+4E05\tkSimplifiedVariant\tU+10000\n"
      "U+4E06\tkSimplifiedVariant\tU+3FFFF\n"
      "U+4E07\tkSimplifiedVariant\tU+40000\n"
      "U+4E08\tkSimplifiedVariant\tU+10FFFF\n"));
  EXPECT_EQ(lexicon.convert("\u4E00\u4E01\u4E02\u4E03\u4E04\u4E05\u4E06\u4E07\u4E08",
                            Script::kSimplified),
            "\x7F" "\xC2\x80" "\xDF\xBF" "\xE0\xA0\x80" "\xEF\xBF\xBF" "\xF0\x90\x80\x80"
            "\xF0\xBF\xBF\xBF" "\xF1\x80\x80\x80" "\xF4\x8F\xBF\xBF");
}

TEST(Lexicon, ConversionRefusesTextThatIsNotUtf8) {
  const UnihanLexicon lexicon(build(kVariants));
  EXPECT_EQ(errorOf([&] { (void)lexicon.convert("漢\nab\xFF", Script::kSimplified); }),
            "line 2: not valid UTF-8: byte 0xFF at offset 2");
  // A sequence cut short by the end of the text, and by a line end.
  EXPECT_EQ(errorOf([&] { (void)lexicon.convert("\n\n\xE6\xBC", Script::kSimplified); }),
            "line 3: not valid UTF-8: byte 0xE6 at offset 0");
  EXPECT_EQ(errorOf([&] { (void)lexicon.convert("x\xE6\xBC\nx", Script::kSimplified); }),
            "line 1: not valid UTF-8: byte 0x0A at offset 3");
  EXPECT_EQ(errorOf([&] { (void)lexicon.convertReporting("\xED\xA0\x80", Script::kTraditional); }),
            "line 1: not valid UTF-8: byte 0xED at offset 0");
}

// The base forms a search word is also looked up by: a doubled consonant
// is undone only where it is doubled.
TEST(Lexicon, EnglishBaseForms) {
  using kelvorn_fields_private::baseForms;
  EXPECT_EQ(baseForms("burned"), (std::vector<std::string>{"burned", "burn", "burne"}));
  EXPECT_EQ(baseForms("running"), (std::vector<std::string>{"running", "runn", "runne", "run"}));
  EXPECT_EQ(baseForms("used"), (std::vector<std::string>{"used", "us", "use"}));
  EXPECT_EQ(baseForms("bed"), (std::vector<std::string>{"bed"}));  // no stem of one letter
  EXPECT_EQ(baseForms("tried"), (std::vector<std::string>{"tried", "try", "tri", "trie"}));
  EXPECT_EQ(baseForms("added"), (std::vector<std::string>{"added", "add", "adde", "ad"}));
}

// Search results: the core set first, then by radical, marks, residual (a
// negative one as none), then the main block and its compatibility twelve.
TEST(Lexicon, SearchOrderReadsCountsAndResiduals) {
  using kelvorn_fields_private::searchOrder;
  const kelvorn::UnihanFields fields =
      build("U+5000\tkRSUnicode\t9'.0\nU+5001\tkRSUnicode\t9.2\nU+5002\tkRSUnicode\t9.1\n"
            "U+5003\tkRSUnicode\t8.0\nU+5004\tkRSUnicode\t8.1\nU+5005\tkRSUnicode\t8.-1\n"
            "U+5006\tkUnihanCore2020\tG\n");
  EXPECT_EQ(searchOrder(fields, {0x3400, 0x5000, 0x5001, 0x5002, 0x5003, 0x5004, 0x5005, 0x5006}),
            (Chars{0x5006, 0x5003, 0x5005, 0x5004, 0x5002, 0x5001, 0x5000, 0x3400}));
  Chars blocks = {0xA000, 0x9FFF, 0x4E00, 0x4DFF};
  for (char32_t cp = 0xFA0D; cp <= 0xFA2A; ++cp) blocks.push_back(cp);
  const Chars ranked = searchOrder(fields, blocks);
  EXPECT_EQ(Chars(ranked.begin(), ranked.begin() + 15),
            (Chars{0x4E00, 0x9FFF, 0xFA0E, 0xFA0F, 0xFA11, 0xFA13, 0xFA14, 0xFA1F, 0xFA21, 0xFA23,
                   0xFA24, 0xFA27, 0xFA28, 0xFA29, 0x4DFF}));
  // Counted characters come first, the most counted first, even before a
  // core character of more regions; only the digits inside the parentheses
  // count, each count up to nine digits.
  const kelvorn::UnihanFields counted =
      build("U+4E00\tkHanyuPinlu\ta(1x2)\nU+4E01\tkHanyuPinlu\tb(13)\n"
            "U+5000\tkHanyuPinlu\ta(1000000000)\nU+5001\tkHanyuPinlu\tb(999999999)\n"
            "U+5004\tkHanyuPinlu\ta(1) b(1)\nU+5005\tkHanyuPinlu\tc(3)\nU+5002\tkUnihanCore2020\tGHJKMT\n");
  EXPECT_EQ(searchOrder(counted, {0x4FFF, 0x5002, 0x5004, 0x5005, 0x5000, 0x5001, 0x4E00, 0x4E01}),
            (Chars{0x5001, 0x5000, 0x4E01, 0x4E00, 0x5005, 0x5004, 0x5002, 0x4FFF}));
}

// Each lexicon over a store as it is built, then as it answers from the
// stored tables of the store.
std::vector<UnihanLexicon> builtAndStored(std::string_view text) {
  const UnihanLexicon built(build(text));
  const std::vector<std::string_view> names = built.fields().fieldNames();
  return {built, UnihanLexicon::withStoredTableBytes(built.fields(), built.storedTables(names))};
}

TEST(Lexicon, SearchesGlossWords) {
  for (const UnihanLexicon& lexicon :
       builtAndStored("U+3400\tkDefinition\t(same as U+4E18 丘) hillock or mound\n"
                      "U+4E00\tkDefinition\tone; a, an; alone\n"
                      "U+8214\tkDefinition\tto lick; to taste, a mat, bamboo mat\n"
                      "U+20000\tkDefinition\tTo LICK (again); cf. LICKING\n"
                      "U+4E01\tkCangjie\tMN\n")) {
    EXPECT_EQ(lexicon.search("lick"), (Chars{0x8214, 0x20000}));
    EXPECT_EQ(lexicon.search("to lick"), (Chars{0x8214, 0x20000}));
    EXPECT_EQ(lexicon.search("  LiCk,to!"), (Chars{0x8214, 0x20000}));
    EXPECT_EQ(lexicon.search("lick mat"), (Chars{0x8214}));
    EXPECT_EQ(lexicon.search("a"), (Chars{0x4E00, 0x8214}));
    EXPECT_EQ(lexicon.search("U4E18"), (Chars{0x3400}));  // "U" and "E"
    EXPECT_TRUE(lexicon.search("lic").empty());           // whole words only
    EXPECT_TRUE(lexicon.search("lick hillock").empty());
    EXPECT_TRUE(lexicon.search("").empty());
    EXPECT_TRUE(lexicon.search("4 2; 丘").empty());  // no word at all
  }
  for (const UnihanLexicon& lexicon : builtAndStored("U+4E01\tkCangjie\tMN\n")) {
    EXPECT_TRUE(lexicon.search("one").empty());
  }
}

TEST(Lexicon, FindsCharactersByOneValueOfAnyField) {
  for (const UnihanLexicon& lexicon : builtAndStored("U+6F22\tkCantonese\thon3\n"
                                                     "U+6C49\tkCantonese\thon3\n"
                                                     "U+5B57\tkCantonese\tzi6  hon3 zi6\n"
                                                     "U+6F22\tkCangjie\tETLO\n")) {
    const Chars& hon3 = lexicon.charsWith("kCantonese", "hon3");  // lasts through later lookups
    EXPECT_EQ(lexicon.charsWith("kCantonese", "zi6"), (Chars{0x5B57}));
    EXPECT_TRUE(lexicon.charsWith("kCantonese", "hon").empty());
    EXPECT_TRUE(lexicon.charsWith("kCantonese", "").empty());
    EXPECT_TRUE(lexicon.charsWith("kCangjie", "etlo").empty());
    EXPECT_EQ(errorOf([&] { (void)lexicon.charsWith("kCangJie", "ETLO"); }),
              "no field kCangJie in the data; did you mean kCangjie?");
    EXPECT_EQ(hon3, (Chars{0x5B57, 0x6C49, 0x6F22}));
  }
}

// Stored tables that are cut, forged or written for another store are
// refused with a reason; damage that opening cannot see is bounded: every
// answer still ascends within range, and most damage is caught at the lookup
// and answered as without the tables.
TEST(Lexicon, StoredTablesRefuseOrBoundEveryDamage) {
  namespace lf = kelvorn_fields_private::lexicon_format;
  const UnihanLexicon built(build(
      "U+4E00\tkDefinition\tone; a, an; alone\nU+4E00\tkCangjie\tM\n"
      "U+4E01\tkDefinition\tmale adult, men; one\nU+4E01\tkCangjie\tMN M\n"
      "U+8214\tkDefinition\tto lick; a mat\nU+8214\tkCangjie\tTRHJM\n"
      "U+8214\tkMandarin\tshì\nU+4E01\tkMandarin\tdīng\n"));
  const std::string sound = built.storedTables({"kCangjie", "kMandarin"});
  const auto open = [&](const std::string& bytes) {
    return UnihanLexicon::withStoredTableBytes(built.fields(), bytes, "t.lex");
  };
  // Within bounds: code points; and characters the fields hold where the
  // search order itself is sound, never a word read past its end.
  const auto held = [](char32_t cp) { return cp == 0x4E00 || cp == 0x4E01 || cp == 0x8214; };
  const auto answersBounded = [&](const UnihanLexicon& lexicon, const std::string& what,
                                  bool soundOrder = true) {
    for (const char* query : {"one", "lick", "a mat", "ones", "zzz"}) {
      const Chars found = lexicon.search(query);
      EXPECT_LE(found.size(), 3u) << what << ' ' << query;
      for (const char32_t cp : found) EXPECT_TRUE(soundOrder ? held(cp) : cp <= 0x10FFFF) << what << ' ' << query;
    }
    for (const char* value : {"M", "MN", "TRHJM", "X", ""}) {
      const Chars& found = lexicon.charsWith("kCangjie", value);
      EXPECT_EQ(std::adjacent_find(found.begin(), found.end(), std::greater_equal<>()),
                found.end())
          << what << ' ' << value;
      EXPECT_TRUE(found.empty() || found.back() <= 0x10FFFF) << what << ' ' << value;
    }
    EXPECT_EQ(lexicon.charsWith("kDefinition", "one;"), (Chars{0x4E00}));  // not stored
  };
  answersBounded(open(sound), "sound");
  const auto u32At = [](const std::string& b, std::size_t at) {
    return kelvorn_fields_private::format::load32(reinterpret_cast<const unsigned char*>(&b[at]));
  };
  const auto put = [](std::string* b, std::size_t at, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) (*b)[at + i] = static_cast<char>(v >> (8 * i));
  };
  // The layout is the format's, whichever build wrote it.
  EXPECT_EQ(sound.substr(0, 24), std::string("kelvorn lexicon\0\1\0\0\0\4\0\0\0", 24));
  EXPECT_EQ(u32At(sound, 80), 144u);
  for (std::size_t t = 1; t < 4; ++t) EXPECT_EQ(u32At(sound, 80 + 16 * t) % 4, 0u);
  const std::uint32_t tables = u32At(sound, lf::header::kTableCount);
  ASSERT_EQ(tables, 4u);
  // The words' keys stand in bytewise order, so that one store gives one file.
  const std::size_t words = u32At(sound, 96), keyCount = u32At(sound, words + 4);
  const std::size_t keyBytes = words + 16 + u32At(sound, words) +
                               4 * (2 * keyCount + 2 + u32At(sound, words + 8) + u32At(sound, words + 12));
  std::vector<std::string> keys;
  for (std::size_t k = 0, at = words + 16; k < keyCount; ++k, at += 4) {
    keys.push_back(sound.substr(keyBytes + u32At(sound, at), u32At(sound, at + 4) - u32At(sound, at)));
  }
  EXPECT_TRUE(keyCount == 10 && std::is_sorted(keys.begin(), keys.end()));

  // Answers come from the tables, at every probe: code points moved up to
  // U+10FFFF move the answers; past it the tables are passed over.
  for (const std::uint32_t step : {0x10FFFFu - 0x8214, 0x10FFFFu - 0x8213}) {
    std::string moved = sound;
    const auto move = [&](std::size_t at, std::size_t count) {
      for (; count > 0; --count, at += 4) put(&moved, at, u32At(sound, at) + step, 4);
    };
    move(u32At(sound, 80), u32At(sound, 88) / 4);
    for (const std::size_t at : {u32At(sound, 112), u32At(sound, 128)}) {
      move(at + 16 + 4 * (2 * u32At(sound, at + 4) + 2 + u32At(sound, at + 12)), u32At(sound, at + 8));
    }
    const auto moves = [&](Chars found) {
      const bool past = step > 0x10FFFFu - 0x8214 && std::count(found.begin(), found.end(), 0x8214);
      for (char32_t& c : found) c += past ? 0 : step;
      return found;
    };
    for (const char* word : {"one", "a", "an", "alone", "male", "adult", "men", "to", "lick", "mat"}) {
      EXPECT_EQ(open(moved).search(word), moves(built.search(word))) << word;
    }
    for (const char* value : {"M", "MN", "TRHJM"}) {
      EXPECT_EQ(open(moved).charsWith("kCangjie", value), moves(built.charsWith("kCangjie", value)));
    }
    EXPECT_EQ(open(moved).charsWith("kMandarin", "dīng"), (Chars{0x4E01 + step}));
  }

  // Every cut at a table's edge, with the size in the header forged to
  // match, and the file cut as it is.
  std::vector<std::size_t> cuts = {0, lf::kMagicLength, lf::header::kSize - 1, lf::header::kSize,
                                   lf::header::kSize + tables * lf::entry::kLength - 1};
  for (std::uint32_t t = 0; t < tables; ++t) {
    const std::size_t at = lf::header::kSize + t * lf::entry::kLength;
    cuts.push_back(u32At(sound, at) + u32At(sound, at + lf::entry::kSize) - 1);
  }
  for (const std::size_t cut : cuts) {
    std::string bytes = sound.substr(0, cut);
    EXPECT_NE(errorOf([&] { open(bytes); }).find("t.lex: "), std::string::npos) << cut;
    if (cut < lf::header::kSize) continue;
    put(&bytes, lf::header::kFileSize, cut, 8);
    EXPECT_NE(errorOf([&] { open(bytes); }).find("t.lex: "), std::string::npos) << cut;
  }
  struct Forged {
    std::size_t at, bytes;
    std::uint64_t value;
    const char* reason;
  };
  const std::size_t gloss = u32At(sound, lf::header::kSize + lf::entry::kLength);
  for (const Forged& f : std::vector<Forged>{
           {lf::header::kMagic, 1, 'K', "not a stored lexicon file"},
           {lf::header::kFormatVersion, 4, 2, "unsupported stored lexicon format version"},
           {lf::header::kFileSize, 8, sound.size() + 1, "cut short or extended"},
           {lf::header::kImageHeader + 47, 1, 0x55, "written for another all-field image"},
           {lf::header::kTableCount, 4, 1, "directory does not fit"},
           {lf::header::kTableCount, 4, 1u << 30, "directory does not fit"},
           {lf::header::kSize, 8, 0, "table 0 lies outside the file"},
           {lf::header::kSize + lf::entry::kSize, 8, sound.size(), "table 0 lies outside"},
           {lf::header::kSize + lf::entry::kSize, 8, 5, "not a whole number of code points"},
           {gloss + lf::posting::kKeyCount, 4, 1000, "table 1's counts do not match its size"},
           {gloss + lf::posting::kSlotCount, 4, 3, "table 1's counts"},
           {gloss + lf::posting::kSlotCount, 4, 0, "table 1's counts"},
           {gloss + lf::posting::kItemCount, 4, u32At(sound, gloss + lf::posting::kItemCount) + 1,
            "table 1's counts"},
           {gloss + lf::posting::kNameLength, 4, 1, "table 1's counts"}}) {
    std::string bytes = sound;
    put(&bytes, f.at, f.value, f.bytes);
    EXPECT_EQ(errorOf([&] { open(bytes); }).find("t.lex: "), 0u) << f.reason;
    EXPECT_NE(errorOf([&] { open(bytes); }).find(f.reason), std::string::npos) << f.reason;
  }
  EXPECT_NE(errorOf([&] {
              UnihanLexicon::withStoredTableBytes(build("U+4E00\tkCangjie\tM\n"), sound, "t");
            }).find("written for another all-field image"),
            std::string::npos);

  // Every word of the tables one more, or all ones: refused, or answered
  // within bounds.
  // Past table 0, the search order, whose words are code points.
  const std::size_t orderEnd = u32At(sound, lf::header::kSize) + u32At(sound, lf::header::kSize + lf::entry::kSize);
  for (std::size_t at = lf::header::kSize; at + 4 <= sound.size(); ++at) {
    for (const bool allOnes : {false, true}) {
      std::string bytes = sound;
      put(&bytes, at, allOnes ? 0xFFFFFFFFu : u32At(sound, at) + 1, 4);
      try {
        answersBounded(open(bytes), std::to_string(at), at >= orderEnd);
      } catch (const kelvorn::FieldsError& e) {
        EXPECT_EQ(std::string(e.what()).find("t.lex: "), 0u) << at;
      }
    }
  }
}

TEST(Lexicon, CopiesShareIndexesBuiltOnceUnderConcurrentFirstUse) {
  for (const UnihanLexicon& lexicon : builtAndStored(kVariants)) {
    std::vector<std::thread> threads;
    std::vector<std::string> converted(8);
    std::vector<const Chars*> found(8);
    for (std::size_t i = 0; i < 8; ++i) {
      threads.emplace_back([&, i, copy = lexicon] {
        converted[i] = copy.convert("漢後", Script::kSimplified);
        found[i] = &copy.charsWith("kTraditionalVariant", "U+9AEE");
      });
    }
    for (std::thread& t : threads) t.join();
    for (std::size_t i = 0; i < 8; ++i) {
      EXPECT_EQ(converted[i], "汉后");
      EXPECT_EQ(found[i], found[0]);  // one index or answer, shared by every copy
    }
    EXPECT_EQ(*found[0], (Chars{U'发'}));
  }
}

}  // namespace
