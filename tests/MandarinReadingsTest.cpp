// Every Mandarin reading field behind kMandarin lookups, and every reading
// field a lookup names: the grammar of the values read, and, on the 17.0
// data, the readings users type finding their characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "index/saved/SavedIndex.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"

namespace {

using kelvorn::MandarinReadings;
using kelvorn::ReadingMatch;
using kelvorn::UnihanIndex;
using Readings = std::optional<std::vector<std::string>>;

// A field's value and the readings a parse of it finds (nullopt: refused).
struct ParseCase {
  const char* field;
  const char* value;
  Readings expected;
};

TEST(MandarinReadings, ReadsEachFieldsGrammarAndRefusesDamage) {
  const std::vector<ParseCase> cases = {
      {"kHanyuPinyin", "10019.020:tiàn,tián", std::vector<std::string>{"tiàn", "tián"}},
      {"kHanyuPinyin", "10093.130:xī,lǔ 74609.020:lǔ,xī",
       std::vector<std::string>{"xī", "lǔ", "lǔ", "xī"}},
      {"kXHC1983", "1000.01,1001.02*:chè,chì", std::vector<std::string>{"chè", "chì"}},
      {"kTGHZ2013", "482.140:zhōng", std::vector<std::string>{"zhōng"}},
      {"kHanyuPinlu", "hé(9513) hè(1)", std::vector<std::string>{"hé", "hè"}},
      {"kHanyuPinyin", "", std::nullopt},
      {"kHanyuPinyin", "10019.020:tiàn,", std::nullopt},       // empty reading
      {"kHanyuPinyin", ":tiàn", std::nullopt},                 // no location
      {"kHanyuPinyin", "10019.020 tiàn", std::nullopt},        // no colon
      {"kXHC1983", "1000.01:chè  1001.01:chì", std::nullopt},  // two spaces
      {"kTGHZ2013", "482.140:zhōng ", std::nullopt},           // trailing space
      {"kTGHZ2013", "482.140:a:b", std::nullopt},
      {"kHanyuPinlu", "hé(95x3)", std::nullopt},
      {"kHanyuPinlu", "hé()", std::nullopt},
      {"kHanyuPinlu", "(12)", std::nullopt},
      {"kHanyuPinlu", "hé(12", std::nullopt},
      {"kMandarin", "hé", std::nullopt},  // the core's own field
      {"kCantonese", "hat6", std::nullopt},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(MandarinReadings::parse(c.field, c.value), c.expected) << c.field << " " << c.value;
  }
  MandarinReadings readings;
  EXPECT_FALSE(readings.add(0x884C, "kHanyuPinyin", "10019.020:tiàn,"));
  EXPECT_FALSE(readings.add(0x110000, "kTGHZ2013", "482.140:zhōng"));
  EXPECT_TRUE(MandarinReadings().add(0x10FFFF, "kTGHZ2013", "482.140:zhōng"));  // the last code point
  EXPECT_TRUE(readings.readings().empty());
  EXPECT_TRUE(readings.add(0x884C, "kTGHZ2013", "482.140:háng"));
  ASSERT_EQ(readings.readings().size(), 1U);
  EXPECT_EQ(readings.readings()[0].reading, "háng");
}

class MandarinRealData : public testing::Test {
 protected:
  // Built once for the suite: the all-field image, the 17.0 store, and an
  // index over every Mandarin field.
  struct Data {
    kelvorn::UnihanFields fields = kelvorn::UnihanFields::open(KELVORN_FIELDS_IMAGE);
    kelvorn::UnihanMgr mgr = [] {
      kelvorn::UnihanMgr m;
      std::string path = KELVORN_TEST_DATA;
      EXPECT_EQ(m.readUnihan(path.data()), 0);
      return m;
    }();
    UnihanIndex full{mgr, kelvorn::RadicalStrokeExtras(), kelvorn_saved_index::mandarinReadings(fields)};
    kelvorn::ReadingFrequencies counts = kelvorn_saved_index::readingFrequencies(fields);
    // The same with the frequencies, saved and opened again.
    UnihanIndex saved = *UnihanIndex::fromBytes(
        mgr,
        UnihanIndex(mgr, kelvorn::RadicalStrokeExtras(),
                    kelvorn_saved_index::mandarinReadings(fields), counts)
            .bytes("real"),
        "real");
  };
  static const Data& data() {
    static const Data built;
    return built;
  }

  // How many pairs of a character kHanyuPinlu counts (one in common use) and
  // a reading the dictionaries give it were asked; each lookup of that
  // reading must find it.
  static int dictionaryPairsFound(const UnihanIndex& index, ReadingMatch match) {
    int asked = 0;
    for (const char32_t cp : data().fields.codePointsWith("kHanyuPinlu")) {
      for (const char* field : {"kHanyuPinyin", "kXHC1983", "kTGHZ2013"}) {
        const auto value = data().fields.value(cp, field);
        if (!value) continue;
        const Readings readings = MandarinReadings::parse(field, *value);
        EXPECT_TRUE(readings.has_value()) << std::hex << cp << " " << field;
        for (const std::string& r : readings.value_or(std::vector<std::string>())) {
          const std::vector<char32_t> found =
              index.byReading(r, kelvorn::Reading::kMandarin, match);
          EXPECT_TRUE(std::binary_search(found.begin(), found.end(), cp)) << std::hex << cp << " " << r;
          ++asked;
        }
      }
    }
    return asked;
  }
};

TEST_F(MandarinRealData, EveryDictionaryReadingOfTheCountedCharactersFindsThem) {
  EXPECT_GT(dictionaryPairsFound(data().full, ReadingMatch::kLoose), 1000);
  EXPECT_GT(dictionaryPairsFound(data().full, ReadingMatch::kExact), 1000);
  // The core's own field stays as the store keeps it: 行 is xíng there, and
  // háng in the dictionaries (the saved index answers alike: tool.index_saved).
  EXPECT_EQ(data().full.readings(0x884C, kelvorn::Reading::kMandarin), std::vector<std::string>{"xíng"});
}

// A process's first question in frequency order reads the counts of the
// characters it found alone: they order them as the whole table does.
// Frequency order from the table a saved index keeps, whole or for the
// found alone, and from the found's values alone, equals the order of the
// whole table read from the all-field image, for every Mandarin reading.
TEST_F(MandarinRealData, FrequencyOrderFromTheSavedTableOrTheFoundAloneIsTheWholeTables) {
  const kelvorn::ReadingFrequencies& all = data().counts;
  const UnihanIndex* saved = &data().saved;
  const std::optional<kelvorn::ReadingFrequencies> savedAll = saved->frequencies();
  ASSERT_TRUE(savedAll.has_value());
  EXPECT_EQ(savedAll->size(), all.size());
  EXPECT_FALSE(data().full.frequencies().has_value());
  std::vector<std::pair<std::string, ReadingMatch>> queries{
      {"shi4", ReadingMatch::kLoose}, {"zh", ReadingMatch::kPrefix}, {"xyz", ReadingMatch::kLoose}};
  for (const char32_t cp : data().full.codePoints()) {
    for (std::string& r : data().full.readings(cp, kelvorn::Reading::kMandarin)) {
      queries.emplace_back(std::move(r), ReadingMatch::kExact);
    }
  }
  std::sort(queries.begin(), queries.end());
  queries.erase(std::unique(queries.begin(), queries.end()), queries.end());
  ASSERT_GT(queries.size(), 1000U);
  for (const auto& [query, match] : queries) {
    const std::vector<char32_t> found = saved->byReading(query, kelvorn::Reading::kMandarin, match);
    const std::vector<char32_t> expected =
        data().full.byReading(query, kelvorn::Reading::kMandarin, match, all);
    ASSERT_EQ(saved->byReading(query, kelvorn::Reading::kMandarin, match, *savedAll), expected)
        << query;
    ASSERT_EQ(saved->byReading(query, kelvorn::Reading::kMandarin, match,
                               *saved->frequencies(found)),
              expected)
        << query;
    ASSERT_EQ(data().full.byReading(query, kelvorn::Reading::kMandarin, match,
                                    kelvorn_saved_index::readingFrequenciesOf(data().fields, found)),
              expected)
        << query;
  }
}

// What the tool shows beside each character: the index's Mandarin readings
// equal the store's kMandarin followed by the all-field image's others, in
// the order of MandarinReadings::fieldNames, each once.
TEST_F(MandarinRealData, EachCharactersMandarinReadingsAreTheFieldsReadings) {
  std::size_t withOthers = 0;
  for (const char32_t cp : data().saved.codePoints()) {
    std::vector<std::string> expected = data().full.readings(cp, kelvorn::Reading::kMandarin);
    const std::size_t own = expected.size();
    for (const std::string_view field : MandarinReadings::fieldNames()) {
      const auto value = data().fields.value(cp, field);
      if (!value) continue;
      for (std::string& r : MandarinReadings::parse(field, *value).value_or(Readings::value_type())) {
        if (std::find(expected.begin(), expected.end(), r) == expected.end()) {
          expected.push_back(std::move(r));
        }
      }
    }
    withOthers += expected.size() > own;
    ASSERT_EQ(data().saved.mandarinReadings(cp), expected) << std::hex << cp;
  }
  EXPECT_GT(withOthers, 1000U);
}

TEST(NamedReadings, ReadsEachFieldsGrammarAndRefusesDamage) {
  const std::vector<ParseCase> cases = {
      {"kCantonese", "hon3", std::vector<std::string>{"hon3"}},
      {"kHangul", "한:0E 간:0N", std::vector<std::string>{"한", "간"}},
      {"kTang", "*xɑ̀n xɑn", std::vector<std::string>{"xɑ̀n", "xɑn"}},
      {"kKorean", "HAN", std::vector<std::string>{"HAN"}},
      {"kHangul", ":0E", std::nullopt},  // no syllable
      {"kHangul", "한", std::nullopt},   // no sources
      {"kTang", "*", std::nullopt},      // a star alone
      {"kVietnamese", "hán  hàn", std::nullopt},
      {"kCantonese", "", std::nullopt},
      {"kMandarin", "hàn", std::nullopt},  // the store's own field
      {"kJapaneseOn", "KAN", std::nullopt},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(kelvorn::NamedReadings::parse(c.field, c.value), c.expected) << c.field << c.value;
  }
  EXPECT_THROW(kelvorn::NamedReadings("kMandarin"), kelvorn::Error);
  kelvorn::NamedReadings cantonese("kCantonese");
  EXPECT_FALSE(cantonese.add(0x6F22, "hon3 "));
  EXPECT_TRUE(cantonese.add(0x6F22, "hon3"));
  EXPECT_TRUE(cantonese.add(0x6C49, "hon3 hon6"));
  EXPECT_THROW(cantonese.byReading(""), kelvorn::Error);
  struct Match {
    const char* query;
    ReadingMatch match;
    std::vector<char32_t> expected;
  };
  const std::vector<Match> matches = {
      {"hon3", ReadingMatch::kLoose, {0x6C49, 0x6F22}},
      {"HON", ReadingMatch::kLoose, {0x6C49, 0x6F22}},
      {"hon6", ReadingMatch::kLoose, {0x6C49}},
      {"hon1", ReadingMatch::kLoose, {}},
      {"ho", ReadingMatch::kPrefix, {0x6C49, 0x6F22}},
      {"ho6", ReadingMatch::kPrefix, {0x6C49}},
      {"hon", ReadingMatch::kExact, {}},
      {"hon6", ReadingMatch::kExact, {0x6C49}},
  };
  for (const Match& m : matches)
    EXPECT_EQ(cantonese.byReading(m.query, m.match), m.expected) << m.query;
  EXPECT_EQ(cantonese.readings(0x6C49), (std::vector<std::string>{"hon3", "hon6"}));
}

TEST_F(MandarinRealData, EveryNamedReadingFieldFindsItsCharacters) {
  struct Case {
    const char* field;
    const char* query;
    ReadingMatch match;
    char32_t expected;
  };
  const std::vector<Case> cases = {
      {"kCantonese", "hon3", ReadingMatch::kLoose, 0x6F22},
      {"kCantonese", "ho", ReadingMatch::kPrefix, 0x6F22},
      {"kJapanese", "カン", ReadingMatch::kExact, 0x6F22},
      {"kKorean", "han", ReadingMatch::kLoose, 0x6F22},
      {"kHangul", "한", ReadingMatch::kExact, 0x6F22},
      {"kVietnamese", "HÁN", ReadingMatch::kLoose, 0x6F22},
      {"kTang", "xɑ̀n", ReadingMatch::kExact, 0x6F22},
      {"kHanyuPinyin", "han4", ReadingMatch::kLoose, 0x6F22},
      {"kXHC1983", "hàn", ReadingMatch::kExact, 0x6F22},
      {"kTGHZ2013", "han", ReadingMatch::kLoose, 0x6C49},
  };
  const kelvorn::ReadingFrequencies frequencies = kelvorn_saved_index::readingFrequencies(data().fields);
  for (const Case& c : cases) {
    const kelvorn::NamedReadings named = kelvorn_saved_index::namedReadings(data().fields, c.field);
    const std::vector<char32_t> found = named.byReading(c.query, c.match);
    EXPECT_TRUE(std::binary_search(found.begin(), found.end(), c.expected)) << c.field;
    std::vector<char32_t> ranked = data().full.byReading(named, c.query, c.match, frequencies);
    std::sort(ranked.begin(), ranked.end());
    EXPECT_EQ(ranked, found) << c.field;  // the same characters, reordered
  }
  // A named Mandarin field answers its own readings only: 行 is xíng in
  // kMandarin, and kTGHZ2013 lists simplified forms alone.
  const auto tghz = kelvorn_saved_index::namedReadings(data().fields, "kTGHZ2013");
  const std::vector<char32_t> han = tghz.byReading("hàn", ReadingMatch::kLoose);
  EXPECT_FALSE(std::binary_search(han.begin(), han.end(), char32_t{0x6F22}));
  EXPECT_EQ(kelvorn_saved_index::unknownReadingFieldMessage("kCantonesx"),
            "unknown field 'kCantonesx' for a reading lookup; did you mean kCantonese?");
}

}  // namespace
