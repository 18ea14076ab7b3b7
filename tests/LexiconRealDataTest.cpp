// The lexicon over the bundled 17.0 image, against answers worked out
// naively from the text: every variant value, the conversion of every
// character, the search for every word (of several words, LexiconTest), and
// every value of every field.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "FieldsTestSupport.h"
#include "fields/ConversionTable.h"
#include "fields/EnglishEndings.h"
#include "fields/GlossIndex.h"
#include "fields/ValueIndex.h"
#include "fields/VariantValues.h"
#include "kelvorn/UnihanLexicon.h"
#include "kelvorn/Utf8.h"
#include "support/Files.h"

using kelvorn::Script;
using kelvorn::UnihanLexicon;

namespace {

struct Line {
  char32_t cp;
  std::string field;
  std::string value;
};

std::vector<Line> dataLines() {
  std::vector<Line> lines;
  fieldstest::forEachDataLine(testsupport::readFile(KELVORN_FIELDS_DATA_TXT),
                              [&](char32_t cp, std::string_view field, std::string_view value) {
                                lines.push_back({cp, std::string(field), std::string(value)});
                              });
  return lines;
}

class LexiconRealData : public ::testing::Test {
 protected:
  // Read once for the suite.
  struct Data {
    std::vector<Line> lines = dataLines();
    UnihanLexicon lexicon{kelvorn::UnihanFields::open(KELVORN_FIELDS_IMAGE)};
  };
  static const Data& data() {
    static const Data read;
    return read;
  }
  const std::vector<Line>* lines_ = &data().lines;
  const UnihanLexicon* lexicon_ = &data().lexicon;
};

bool isVariantField(const std::string& field) {
  for (const std::string_view f : kelvorn::kVariantFields) {
    if (f == field) return true;
  }
  return false;
}

// Writes a parsed value back in the data's own form.
std::string unparse(const kelvorn_fields_private::VariantValue& value) {
  std::string out;
  for (const auto& target : value.targets) {
    if (!out.empty()) out += ' ';
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(target.codePoint));
    out += hex;
    for (std::size_t i = 0; i < target.sources.size(); ++i) {
      out += i == 0 ? '<' : ',';
      out += target.sources[i];
    }
  }
  return out;
}

TEST_F(LexiconRealData, EveryVariantValueParsesWhole) {
  std::size_t values = 0;
  for (const Line& line : *lines_) {
    if (!isVariantField(line.field)) continue;
    ++values;
    const auto parsed = kelvorn_fields_private::parseVariantValue(line.value);
    EXPECT_TRUE(parsed.invalid.empty()) << line.value;
    EXPECT_EQ(unparse(parsed), line.value);
  }
  EXPECT_EQ(values, 18967u);
}

// Each character's listed forms in one variant field, from the text.
std::map<char32_t, std::vector<char32_t>> formsIn(const std::vector<Line>& lines,
                                                  const std::string& field) {
  std::map<char32_t, std::vector<char32_t>> out;
  for (const Line& line : lines) {
    if (line.field != field) continue;
    std::istringstream pieces(line.value);
    std::string piece;
    while (pieces >> piece) {
      out[line.cp].push_back(static_cast<char32_t>(std::stoul(piece.substr(2), nullptr, 16)));
    }
  }
  return out;
}

TEST_F(LexiconRealData, ConvertsEveryHeldCharacterToOneOfItsForms) {
  const std::vector<char32_t> held = lexicon_->fields().codePoints();
  std::u32string text;
  for (const char32_t cp : held) text += std::u32string{cp, U'\n'};
  const std::string utf8 = kelvorn::utf8::encode(text);
  for (const auto& [script, field] : {std::pair{Script::kSimplified, "kSimplifiedVariant"},
                                      std::pair{Script::kTraditional, "kTraditionalVariant"}}) {
    const std::map<char32_t, std::vector<char32_t>> forms = formsIn(*lines_, field);
    std::u32string expected;
    std::size_t changed = 0;
    for (const char32_t cp : held) {
      const char32_t to = lexicon_->convert(cp, script);
      const auto found = forms.find(cp);
      if (found == forms.end()) {
        ASSERT_EQ(to, cp) << std::hex << cp;
      } else {
        const std::vector<char32_t>& listed = found->second;
        const bool listsItself = std::count(listed.begin(), listed.end(), cp) > 0;
        // Written only in the other script: it never stays.
        ASSERT_TRUE(to != cp || listsItself) << std::hex << cp;
        ASSERT_TRUE(to == cp || std::count(listed.begin(), listed.end(), to) > 0) << std::hex << cp;
      }
      changed += to != cp;
      expected += std::u32string{to, U'\n'};
    }
    EXPECT_GT(changed, 6000u) << field;
    EXPECT_EQ(lexicon_->convert(utf8, script), kelvorn::utf8::encode(expected)) << field;
  }
  // Everyday characters that Unicode lists among their own traditional forms
  // (时 U+65F6 U+6642) convert; 出 and 了 stay; 发 and 干 take their first
  // forms, whatever the word (汉字 and 发展 both ways are the docs').
  EXPECT_EQ(lexicon_->convert("头发干燥以后时间一个无数选项开关出了", Script::kTraditional),
            "頭發幹燥以後時間一個無數選項開關出了");
  EXPECT_EQ(lexicon_->convert("頭髮以後時間復雜乾", Script::kSimplified), "头发以后时间复杂乾");
}

TEST_F(LexiconRealData, SearchFindsEveryWordAsAScanDoes) {
  std::map<std::string, std::set<char32_t>> naive;
  for (const Line& line : *lines_) {
    if (line.field != "kDefinition") continue;
    std::string words = line.value;
    for (char& c : words)
      c = std::isalpha(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80
              ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
              : ' ';
    std::istringstream in(words);
    std::string word;
    while (in >> word) naive[word].insert(line.cp);
  }
  ASSERT_GT(naive.size(), 10000u);
  // A word finds what a scan finds, and with an English ending also what its
  // base word finds, each character once.
  for (const auto& [word, chars] : naive) {
    const std::vector<char32_t> found = lexicon_->search(word);
    std::set<char32_t> expected = chars;
    for (const std::string& base : kelvorn_fields_private::baseForms(word)) {
      const auto more = naive.find(base);
      if (more != naive.end()) expected.insert(more->second.begin(), more->second.end());
    }
    ASSERT_EQ(std::set<char32_t>(found.begin(), found.end()), expected) << word;
    ASSERT_EQ(found.size(), expected.size()) << word;
  }
}

// A process's first search reads the definitions instead of building the
// index: both give the same characters in the same order.
TEST_F(LexiconRealData, SearchWithoutTheIndexAnswersAsTheIndex) {
  const kelvorn::UnihanFields& fields = lexicon_->fields();
  const kelvorn_fields_private::GlossIndex index(fields);
  for (const std::string_view query :
       {"water", "WATER", "to lick", "  LiCk,to!", "dragons", "flies", "running", "burned",
        "water river", "the of", "Chinese PEOPLE", "U4E18", "a", "zzzz", "", "4 2; 丘"}) {
    EXPECT_EQ(kelvorn_fields_private::searchByScan(fields, query), index.search(query)) << query;
  }
}

// And a first conversion, which works out its own characters' forms alone:
// every character with a variant, in lines of a few hundred, both ways.
TEST_F(LexiconRealData, ConversionWithoutTheTableConvertsAsTheTable) {
  const kelvorn::UnihanFields& fields = lexicon_->fields();
  for (const std::string_view field : {"kSimplifiedVariant", "kTraditionalVariant"}) {
    const kelvorn_fields_private::ConversionTable table =
        kelvorn_fields_private::buildConversionTable(fields, field);
    const std::vector<char32_t> held = fields.codePointsWith(field);
    ASSERT_GT(held.size(), 2000u);
    for (std::size_t start = 0; start < held.size(); start += 300) {
      std::string line = "a ";
      for (std::size_t i = start; i < std::min(held.size(), start + 300); ++i) {
        line += kelvorn::utf8::encode(held[i]);
      }
      std::vector<kelvorn_fields_private::MarkedChar> byTable;
      std::vector<kelvorn_fields_private::MarkedChar> alone;
      ASSERT_EQ(kelvorn_fields_private::convertText(
                    line, kelvorn_fields_private::buildConversionTableFor(fields, field, line),
                    &alone),
                kelvorn_fields_private::convertText(line, table, &byTable))
          << field << ' ' << start;
      ASSERT_EQ(alone.size(), byTable.size());
      for (std::size_t i = 0; i < alone.size(); ++i) ASSERT_EQ(alone[i].chosen, byTable[i].chosen);
    }
  }
}

// So does a field's first lookup, which reads the field's values.
TEST_F(LexiconRealData, LookupWithoutTheIndexAnswersAsTheIndex) {
  const kelvorn::UnihanFields& fields = lexicon_->fields();
  for (const auto& [field, value] :
       std::vector<std::pair<std::string_view, std::string_view>>{
           {"kCangjie", "ETLO"}, {"kCangjie", "etlo"}, {"kCangjie", "ETL"}, {"kCantonese", "hon3"},
           {"kMandarin", "shì"}, {"kTotalStrokes", "5"}, {"kDefinition", "water"},
           {"kHanyuPinyin", "10019.020:hàn"}, {"kCantonese", "hon3 zi6"}, {"kCantonese", ""}}) {
    const std::size_t index = fields.requireField(field);
    EXPECT_EQ(kelvorn_fields_private::findByScan(fields, index, value),
              kelvorn_fields_private::ValueIndex(fields, index).find(value))
        << field << ' ' << value;
  }
}

// The stored tables answer as the indexes built on first use: every word of
// the gloss index in the same order, and every value of every field; the
// tables the build installs are paired with the bundled image.
TEST_F(LexiconRealData, StoredTablesAnswerAsTheBuiltIndexes) {
  const kelvorn::UnihanFields& fields = lexicon_->fields();
  const std::vector<std::string_view> names = fields.fieldNames();
  const UnihanLexicon stored =
      UnihanLexicon::withStoredTableBytes(fields, lexicon_->storedTables(names));
  const kelvorn_fields_private::GlossIndex gloss(fields);
  ASSERT_GT(gloss.words().size(), 10000u);
  for (const auto& word : gloss.words()) {
    ASSERT_EQ(stored.search(word.first), gloss.search(word.first)) << word.first;
  }
  for (const std::string_view query : {"to lick", "water river", "Chinese PEOPLE", "zzzz"}) {
    EXPECT_EQ(stored.search(query), gloss.search(query)) << query;
  }
  for (std::size_t field = 0; field < names.size(); ++field) {
    const kelvorn_fields_private::ValueIndex index(fields, field);
    for (const auto& [value, chars] : index.lists()) {
      ASSERT_EQ(stored.charsWith(names[field], value), chars) << names[field] << ' ' << value;
    }
  }
  const UnihanLexicon installed = UnihanLexicon::withStoredTables(fields, KELVORN_LEXICON_TABLES);
  EXPECT_EQ(installed.search("water"), gloss.search("water"));
  EXPECT_EQ(installed.charsWith("kCangjie", "ETLO"), (std::vector<char32_t>{0x6F22}));
}

// Search order by the data alone: the characters kHanyuPinlu counts (most
// first), then those in kUnihanCore2020 (in the most regions first), then the
// rest.
TEST_F(LexiconRealData, SearchPutsCommonCharactersFirst) {
  std::map<char32_t, unsigned long> counts;
  std::map<char32_t, std::size_t> core;  // how many regions
  for (const Line& line : *lines_) {
    if (line.field == "kHanyuPinlu") {
      unsigned long total = 0;
      for (std::size_t open = line.value.find('('); open != std::string::npos;
           open = line.value.find('(', open + 1)) {
        total += std::stoul(line.value.substr(open + 1));
      }
      counts[line.cp] = total;
    } else if (line.field == "kUnihanCore2020") {
      core[line.cp] = line.value.size();
    }
  }
  const auto group = [&](char32_t cp) { return counts.count(cp) ? 0 : core.count(cp) ? 1 : 2; };
  for (const std::string query : {"hair", "water", "dragon", "to go", "the"}) {
    const std::vector<char32_t> found = lexicon_->search(query);
    ASSERT_GT(found.size(), 3u) << query;
    for (std::size_t i = 1; i < found.size(); ++i) {
      const char32_t a = found[i - 1];
      const char32_t b = found[i];
      ASSERT_LE(group(a), group(b)) << query << ' ' << std::hex << a << ' ' << b;
      if (group(a) == 0 && group(b) == 0) {
        ASSERT_GE(counts[a], counts[b]) << query;
      }
      if (group(a) == 1 && group(b) == 1) {
        ASSERT_GE(core[a], core[b]) << query;
      }
    }
  }
  const std::vector<char32_t> hair = lexicon_->search("hair");
  EXPECT_EQ(hair.front(), U'发');
  EXPECT_LT(std::find(hair.begin(), hair.end(), U'髮') - hair.begin(), 10) << "髮 among the first";
  const std::vector<char32_t> dragons = lexicon_->search("dragons");
  ASSERT_GE(dragons.size(), 2u);
  EXPECT_EQ(std::set<char32_t>(dragons.begin(), dragons.begin() + 2), (std::set<char32_t>{U'龍', U'龙'}));
  // The endings on their own: the scan above takes its base forms from them.
  for (const auto& [inflected, base] : {std::pair{"flies", "fly"}, std::pair{"boxes", "box"},
                                        std::pair{"burned", "burn"}, std::pair{"running", "run"},
                                        std::pair{"writing", "write"}}) {
    const std::vector<char32_t> wanted = lexicon_->search(base);
    const std::vector<char32_t> got = lexicon_->search(inflected);
    const std::set<char32_t> gotSet(got.begin(), got.end());
    EXPECT_FALSE(wanted.empty()) << base;
    for (const char32_t cp : wanted) EXPECT_EQ(gotSet.count(cp), 1u) << inflected;
  }
}

TEST_F(LexiconRealData, CharsWithEveryValueOfEveryFieldAsAScanDoes) {
  std::map<std::pair<std::string, std::string>, std::set<char32_t>> naive;
  for (const Line& line : *lines_) {
    std::istringstream in(line.value);
    std::string value;
    while (std::getline(in, value, ' ')) {
      if (!value.empty()) naive[{line.field, value}].insert(line.cp);
    }
  }
  for (const auto& [key, chars] : naive) {
    const std::vector<char32_t>& found = lexicon_->charsWith(key.first, key.second);
    ASSERT_EQ(std::vector<char32_t>(chars.begin(), chars.end()), found)
        << key.first << " " << key.second;
  }
}

}  // namespace
