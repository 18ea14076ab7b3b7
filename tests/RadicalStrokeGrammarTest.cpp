// Odd kRSUnicode values through its three readers: the core's text reader
// keeps what it can, the index what it can order, the expanded form only
// what writes back byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

#include "TestSupport.h"
#include "fields/expand/FieldGrammar.h"
#include "kelvorn/UnihanIndex.h"

namespace {

// Appends a piece as "radical'.residual", one apostrophe per mark.
void appendPiece(std::string* out, std::int64_t radical, std::int64_t marks, std::int64_t residual) {
  if (!out->empty()) *out += ' ';
  *out += std::to_string(radical) + std::string(static_cast<std::size_t>(marks), '\'') + '.' +
          std::to_string(residual);
}

std::string coreAnswer(kelvorn::UnihanMgr& mgr, int cp) {
  std::string out;
  const int values = mgr.getNumVals(cp, kelvorn::kRSUnicode) == 2 ? 2 : 1;
  for (int i = 0; i < values && mgr.radix(cp, kelvorn::kRSUnicode, i) >= 0; ++i) {
    appendPiece(&out, mgr.radix(cp, kelvorn::kRSUnicode, i), 0, mgr.stroke(cp, kelvorn::kRSUnicode, i));
  }
  return out.empty() ? "-" : out;
}

std::string indexAnswer(const std::string& value) {
  kelvorn::RadicalStrokeExtras extras;
  std::string out = extras.addRSUnicode(0x4E00, value) ? "" : "-";
  for (const auto& v : extras.values()) appendPiece(&out, v.radical, v.marks, v.residual);
  return out;
}

std::string expandedAnswer(const std::string& value) {
  kelvorn_expand::Value tree;
  if (!expandValue(*kelvorn_expand::expanderOf("kRSUnicode"), value, &tree)) return "-";
  std::string out;
  for (const kelvorn_expand::Value& v : tree.items) {
    appendPiece(&out, member(v, "radical")->integer, member(v, "simplified")->integer,
                member(v, "residual")->integer);
  }
  return out;
}

TEST(RadicalStrokeGrammar, OddValuesThroughEveryReader) {
  // A value, then what the core, the index and the expanded form keep ("-": nothing).
  const std::string cases[][4] = {
      {"120'.3", "120.3", "120'.3", "120'.3"},
      {"85.11 9.2", "85.11 9.2", "85.11 9.2", "85.11 9.2"},
      {"85.11  9.2", "85.11 9.2", "-", "-"},
      {" 85.11", "85.11", "-", "-"},
      {"85.11 ", "85.11", "-", "-"},
      {"85.1\t9.2", "85.1 9.2", "-", "-"},
      {"18.8 210''.2", "18.8 210.2", "18.8 210''.2", "18.8 210''.2"},
      {"1.1 2.2 3.3", "1.1 2.2", "1.1 2.2 3.3", "1.1 2.2 3.3"},
      {"85.", "85.0", "-", "-"},
      {"85", "85.0", "-", "-"},
      {"120''3", "120.0", "-", "-"},
      {"212'''.6", "212.6", "212'''.6", "212'''.6"},
      {"212''''.6", "212.0", "-", "-"},
      {"0.1", "0.1", "-", "0.1"},
      {"1.0", "1.0", "1.0", "1.0"},
      {"214.99", "214.99", "214.99", "214.99"},
      {"215.1", "215.1", "-", "215.1"},
      {"096.1", "96.1", "96.1", "-"},
      {"0120.5", "120.5", "-", "-"},
      {"1000.1", "232.1", "-", "1000.1"},
      {"123456789.1", "21.1", "-", "123456789.1"},
      {"1234567890.1", "210.1", "-", "-"},
      {"-5.1", "251.1", "-", "-"},
      {"85.-1", "85.255", "85.-1", "85.-1"},
      {"85.-0", "85.0", "85.0", "-"},
      {"85.+1", "85.1", "-", "-"},
      {"85.-", "85.0", "-", "-"},
      {"85.05", "85.5", "85.5", "-"},
      {"85.100", "85.100", "-", "85.100"},
      {"85.1x", "85.1", "-", "-"},
      {"85.1'.", "85.0", "-", "-"},
      {".", "-", "-", "-"},
      {"", "-", "-", "-"},
  };
  std::string text;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    text += testsupport::dataLine(0x4E00 + static_cast<int>(i), "kRSUnicode", cases[i][0]);
  }
  kelvorn::UnihanMgr mgr;
  ASSERT_EQ(testsupport::loadText(mgr, text), 0);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::string quoted = '"' + cases[i][0] + '"';
    EXPECT_EQ(coreAnswer(mgr, 0x4E00 + static_cast<int>(i)), cases[i][1]) << quoted;
    EXPECT_EQ(indexAnswer(cases[i][0]), cases[i][2]) << quoted;
    EXPECT_EQ(expandedAnswer(cases[i][0]), cases[i][3]) << quoted;
  }
}

}  // namespace
