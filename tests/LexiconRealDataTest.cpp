// The lexicon over the bundled 17.0 image, against answers worked out
// naively from the text: every variant value, the conversion of every
// character, the search for every word, and every value of every field.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

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
  std::istringstream in(testsupport::readFile(KELVORN_FIELDS_DATA_TXT));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("U+", 0) != 0) continue;
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    lines.push_back({static_cast<char32_t>(std::stoul(line.substr(2, tab1 - 2), nullptr, 16)),
                     line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
  }
  return lines;
}

class LexiconRealData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    lines_ = new std::vector<Line>(dataLines());
    lexicon_ = new UnihanLexicon(kelvorn::UnihanFields::open(KELVORN_FIELDS_IMAGE));
  }
  static void TearDownTestSuite() {
    delete lines_;
    delete lexicon_;
  }
  static std::vector<Line>* lines_;
  static UnihanLexicon* lexicon_;
};
std::vector<Line>* LexiconRealData::lines_ = nullptr;
UnihanLexicon* LexiconRealData::lexicon_ = nullptr;

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

// The rule from the text: the first "U+XXXX" of the value unless the
// value names the character itself anywhere.
std::map<char32_t, char32_t> naiveConversion(const std::vector<Line>& lines,
                                             const std::string& field) {
  std::map<char32_t, char32_t> out;
  for (const Line& line : lines) {
    if (line.field != field) continue;
    char self[16];
    std::snprintf(self, sizeof self, "U+%04X", static_cast<unsigned>(line.cp));
    std::istringstream pieces(line.value);
    std::string piece;
    bool listsSelf = false;
    while (pieces >> piece) listsSelf = listsSelf || piece.substr(0, piece.find('<')) == self;
    const auto first = static_cast<char32_t>(std::stoul(line.value.substr(2), nullptr, 16));
    out[line.cp] = listsSelf ? line.cp : first;
  }
  return out;
}

TEST_F(LexiconRealData, ConvertsEveryHeldCharacterByTheRule) {
  const std::vector<char32_t> held = lexicon_->fields().codePoints();
  std::u32string text;
  for (const char32_t cp : held) text += std::u32string{cp, U'\n'};
  const std::string utf8 = kelvorn::utf8::encode(text);
  for (const auto& [script, field] : {std::pair{Script::kSimplified, "kSimplifiedVariant"},
                                      std::pair{Script::kTraditional, "kTraditionalVariant"}}) {
    const std::map<char32_t, char32_t> rule = naiveConversion(*lines_, field);
    std::u32string expected;
    std::size_t changed = 0;
    for (const char32_t cp : held) {
      const auto found = rule.find(cp);
      const char32_t to = found == rule.end() ? cp : found->second;
      changed += to != cp;
      expected += std::u32string{to, U'\n'};
      ASSERT_EQ(lexicon_->convert(cp, script), to) << std::hex << cp;
    }
    EXPECT_GT(changed, 6000u) << field;
    EXPECT_EQ(lexicon_->convert(utf8, script), kelvorn::utf8::encode(expected)) << field;
  }
  EXPECT_EQ(lexicon_->convert("漢字的发展", Script::kSimplified), "汉字的发展");
  EXPECT_EQ(lexicon_->convert("汉字的发展", Script::kTraditional), "漢字的發展");
}

TEST_F(LexiconRealData, SearchFindsEveryWordAsAScanDoes) {
  std::map<std::string, std::set<char32_t>> naive;
  std::map<char32_t, std::string> definitions;
  for (const Line& line : *lines_) {
    if (line.field != "kDefinition") continue;
    std::string words = line.value;
    for (char& c : words)
      c = std::isalpha(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80
              ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
              : ' ';
    definitions[line.cp] = words;
    std::istringstream in(words);
    std::string word;
    while (in >> word) naive[word].insert(line.cp);
  }
  ASSERT_GT(naive.size(), 10000u);
  for (const auto& [word, chars] : naive) {
    const std::vector<char32_t> found = lexicon_->search(word);
    ASSERT_EQ(std::set<char32_t>(found.begin(), found.end()), chars) << word;
    ASSERT_TRUE(std::is_sorted(found.begin(), found.end())) << word;
  }
  // Two words: a scan of every definition.
  for (const std::string query : {"to lick", "water river", "the of", "Chinese PEOPLE"}) {
    const std::size_t space = query.find(' ');
    const auto has = [](const std::string& words, std::string word) {
      for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return (" " + words + " ").find(" " + word + " ") != std::string::npos;
    };
    std::vector<char32_t> expected;
    for (const auto& [cp, words] : definitions) {
      if (has(words, query.substr(0, space)) && has(words, query.substr(space + 1))) {
        expected.push_back(cp);
      }
    }
    EXPECT_EQ(lexicon_->search(query), expected) << query;
    EXPECT_FALSE(expected.empty()) << query;
  }
  EXPECT_EQ(lexicon_->search("to lick").front(), 0x3401u);  // "to lick; to taste, ..."
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
  EXPECT_EQ(lexicon_->charsWith("kCangjie", "ETLO"), std::vector<char32_t>{0x6F22});
}

}  // namespace
