// The grammars of the structured fields: known values expand as the docs
// show them and write back byte for byte, values that do not match are kept
// raw, and every value of every expanded field of the 17.0 text matches.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "FieldsTestSupport.h"
#include "fields/expand/FieldGrammar.h"
#include "support/Files.h"

using kelvorn_expand::FieldExpander;
using kelvorn_expand::Value;

namespace {

// A compact JSON-like rendering, so that a whole tree is one comparison.
std::string render(const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNull: return "null";
    case Value::Kind::kInteger: return std::to_string(v.integer);
    case Value::Kind::kString: return "\"" + std::string(v.text) + "\"";
    case Value::Kind::kArray:
    case Value::Kind::kObject: break;
  }
  const bool object = v.kind == Value::Kind::kObject;
  std::string out(1, object ? '{' : '[');
  for (const Value& item : v.items) {
    if (out.size() > 1) out += ',';
    if (object) out += std::string(item.key) + ':';
    out += render(item);
  }
  return out + (object ? '}' : ']');
}

struct Expanded {
  bool matched = false;
  std::string rendered;
  std::string rejoined;
};

Expanded expand(std::string_view field, std::string_view raw) {
  const FieldExpander* expander = kelvorn_expand::expanderOf(field);
  if (expander == nullptr) return {false, "no grammar", ""};
  // A digit follows, as in an image, so a reader that looks past the value shows.
  const std::string followed = std::string(raw) + "9";
  Value v;
  Expanded e;
  e.matched = expandValue(*expander, std::string_view(followed).substr(0, raw.size()), &v);
  e.rendered = render(v);
  if (!kelvorn_expand::rejoinValue(*expander, v, &e.rejoined)) e.rejoined = "(cannot write)";
  return e;
}

TEST(FieldsExpand, KnownValuesExpandAndWriteBack) {
  const std::vector<std::pair<std::string, std::pair<std::string, std::string>>> cases = {
      {"kRSUnicode", {"120'.3 211''.5 47.-1 5.10 212'''.0",
                      "[{radical:120,simplified:1,residual:3},{radical:211,simplified:2,residual:5},"
                      "{radical:47,simplified:0,residual:-1},{radical:5,simplified:0,residual:10},"
                      "{radical:212,simplified:3,residual:0}]"}},
      {"kRSVantu_Japan1_6", {"C+656+9.2.3 V+13697+21.2.4",
                             "[{glyph:\"C\",cid:656,radical:9,radicalFormStrokes:2,residual:3},"
                             "{glyph:\"V\",cid:13697,radical:21,radicalFormStrokes:2,residual:4}]"}},
      {"kTotalStrokes", {"9 123456789", "[9,123456789]"}},
      {"kAlternateTotalStrokes", {"- 12:JK", "[null,{strokes:12,sources:\"JK\"}]"}},
      {"kHanYu", {"10019.020 80023.201",
                  "[{volume:1,page:19,position:2,virtual:0},{volume:8,page:23,position:20,"
                  "virtual:1}]"}},
      {"kKangXi", {"0076.021", "[{page:76,position:2,virtual:1}]"}},
      {"kHanyuPinyin", {"10278.080,10278.090:sù 10263.070:dān,qiú",
                        "[{locations:[{volume:1,page:278,position:8,virtual:0},{volume:1,page:278,"
                        "position:9,virtual:0}],readings:[\"sù\"]},{locations:[{volume:1,page:263,"
                        "position:7,virtual:0}],readings:[\"dān\",\"qiú\"]}]"}},
      {"kXHC1983", {"0161.040,0161.041*:chù",
                    "[{locations:[{page:161,position:4,virtual:0,asterisk:0},{page:161,"
                    "position:4,virtual:1,asterisk:1}],reading:\"chù\"}]"}},
      {"kTGHZ2013", {"049.010:chǒu", "[{locations:[{page:49,position:1,virtual:0}],"
                                     "reading:\"chǒu\"}]"}},
      {"kHanyuPinlu", {"hé(9513) he(1)", "[{reading:\"hé\",frequency:9513},{reading:\"he\","
                                         "frequency:1}]"}},
      {"kSMSZD2003Readings", {"quàn,juàn粵hyun3,gyun3 xù粵jyu3",
                              "[{mandarin:[\"quàn\",\"juàn\"],cantonese:[\"hyun3\",\"gyun3\"]},"
                              "{mandarin:[\"xù\"],cantonese:[\"jyu3\"]}]"}},
      {"kMorohashi", {"00034 43318':E0105 H460'':10FFFD",
                      "[{entry:34,primes:0,variationSelector:null},{entry:43318,primes:1,"
                      "variationSelector:\"E0105\"},{supplementEntry:460,primes:2,"
                      "variationSelector:\"10FFFD\"}]"}},
      {"kIRG_GSource", {"GKX-0078.01", "{source:\"GKX\",value:\"0078.01\"}"}},
      {"kIRG_JSource", {"JH-JTC061S", "{source:\"JH\",value:\"JTC061S\"}"}},
      {"kSimplifiedVariant", {"U+6C49", "[{codePoint:\"U+6C49\",sources:[]}]"}},
      {"kMandarin", {"hàn zhòng", "[\"hàn\",\"zhòng\"]"}},
      {"kCheungBauer", {"030/08;RMGG;[ng]aai3 075/09;;min6/2,man4",
                        "[{radical:30,strokes:8,cangjie:\"RMGG\",readings:[\"[ng]aai3\"]},"
                        "{radical:75,strokes:9,cangjie:null,readings:[\"min6/2\",\"man4\"]}]"}},
      {"kCheungBauerIndex", {"349.06 340.01", "[{page:349,position:6},{page:340,position:1}]"}},
      {"kCihaiT", {"1530.207 839.304",
                   "[{page:1530,row:2,position:7},{page:839,row:3,position:4}]"}},
      {"kFanqie", {"以諸 𠀀眞", "[{initial:\"以\",final:\"諸\"},{initial:\"𠀀\",final:\"眞\"}]"}},
      {"kFenn", {"381aP 741C 0*", "[{phonetic:381,suffixA:1,frequency:\"P\"},{phonetic:741,"
                                   "suffixA:0,frequency:\"C\"},{phonetic:0,suffixA:0,"
                                   "frequency:\"*\"}]"}},
      {"kFennIndex", {"41.04 014.07", "[{page:41,position:4},{page:14,position:7}]"}},
      {"kGSR", {"0089j 1084g'''", "[{series:89,letter:\"j\",primes:0},{series:1084,"
                                  "letter:\"g\",primes:3}]"}},
      {"kHDZRadBreak", {"⼑[U+2F11]:10319.120",
                        "{radical:\"⼑\",codePoint:\"U+2F11\",location:{volume:1,page:319,"
                        "position:12,virtual:0}}"}},
      {"kIICore", {"AGTJHKMP", "{priority:\"A\",sources:\"GTJHKMP\"}"}},
      {"kMojiJoho", {"MJ000022 MJ000003:10FFFD",
                     "[{entry:22,variationSelector:null},{entry:3,variationSelector:\"10FFFD\"}]"}},
      {"kSBGY", {"079.06 365.33", "[{page:79,position:6},{page:365,position:33}]"}},
      {"kSMSZD2003Index", {"36.02", "[{page:36,position:2}]"}},
      {"kStrange", {"I:U+7681:U+7690 S:52 U",
                    "[{category:\"I\",strokes:null,codePoints:[\"U+7681\",\"U+7690\"]},"
                    "{category:\"S\",strokes:52,codePoints:null},{category:\"U\",strokes:null,"
                    "codePoints:null}]"}},
      {"kZhuang", {"vingq* cak", "[{reading:\"vingq\",asterisk:1},{reading:\"cak\",asterisk:0}]"}},
      {"kSemanticVariant", {"U+5154<kMatthews:T,kLau U+2A6D6",
                            "[{codePoint:\"U+5154\",sources:[\"kMatthews:T\",\"kLau\"]},"
                            "{codePoint:\"U+2A6D6\",sources:[]}]"}},
  };
  for (const auto& [field, c] : cases) {
    const Expanded e = expand(field, c.first);
    EXPECT_TRUE(e.matched) << field << " " << c.first;
    EXPECT_EQ(e.rendered, c.second) << field;
    EXPECT_EQ(e.rejoined, c.first) << field;
  }
}

// A value outside its grammar expands to the raw string, byte for byte:
// empty pieces, cut-short values, leading zeros that would not write back
// alike, a missing separator.
TEST(FieldsExpand, ValuesOutsideTheGrammarStayRaw) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"kTotalStrokes", "x"}, {"kTotalStrokes", "1234567890"}, {"kIICore", "AAG"},
      {"kFenn", "381PP"}, {"kFanqie", "以 "}, {"kAlternateTotalStrokes", "-  12:JK"},
      {"kHanYu", "10019.02"}, {"kHanYu", "10019.0212"}, {"kKangXi", "076.021"},
      {"kHanyuPinlu", "hé(9513"},   {"kHanyuPinlu", "hé()"},
      {"kHanyuPinyin", "10019.020:"}, {"kHanyuPinyin", "10019.020:a,"},
      {"kSMSZD2003Readings", "xù"}, {"kSMSZD2003Readings", "粵jyu3"},
      {"kMorohashi", "0003"},       {"kMorohashi", "H46"},
      {"kMorohashi", "00034:"},     {"kRSVantu_Japan1_6", "CV+1+2.3.4"},
      {"kIRG_GSource", "G0"},       {"kIRG_GSource", "g0-5A3A"},
      {"kAlternateTotalStrokes", "--"}, {"kKangXi", "0076.0212"}, {"kFenn", "381aaP"},
      {"kZVariant", ""}, {"kZVariant", "U+6C49  U+514E"}, {"kZVariant", "U+6C49 U+zz"},
      {"kZVariant", " U+6C49"}, {"kZVariant", "U+6C49<"}, {"kMorohashi", "00034'''"},
      {"kMorohashi", "00034:1234567"}, {"kCheungBauer", "030/08;RMGG;"}, {"kCihaiT", "1530.20"},
      {"kFanqie", "以"},            {"kFanqie", "以諸諸"},
      {"kFanqie", "\xE4\xBB"},      {"kFanqie", "\xBF\x80\xE4\xB8\x80"},  // a lone continuation byte
      {"kCheungBauer", "030/8;RMGG;aai3"}, {"kGSR", "0089jk"},
      {"kFenn", "381Q"},            {"kFennIndex", "41.4"},
      {"kGSR", "089j"},             {"kHDZRadBreak", "⼑[U+2F11]10319.120"}, {"kGSR", "0089j''''"},
      {"kIICore", "DG"},            {"kIICore", "A"}, {"kStrange", "IU"},
      {"kMojiJoho", "MJ00022"},     {"kStrange", "i"}, {"kMojiJoho", "MJ000022:1234567"},
      {"kStrange", "I:"}, {"kZhuang", "cak**"}, {"kMandarin", "hàn  zhòng"}, {"kSBGY", "79.06"},
  };
  for (const auto& [field, raw] : cases) {
    const Expanded e = expand(field, raw);
    EXPECT_FALSE(e.matched) << field << " " << raw;
    EXPECT_EQ(e.rendered, "\"" + raw + "\"") << field;
  }
  EXPECT_EQ(kelvorn_expand::expanderOf("kDefinition"), nullptr);
  EXPECT_EQ(kelvorn_expand::expanderOf("kRSUnicodeX"), nullptr);
  EXPECT_EQ(kelvorn_expand::expanderOf(""), nullptr);

  // The writer refuses a value that does not fit: a number too wide for its digits, below zero
  // or no number, a count so too, an empty reading, marks past three, a missing member, no piece
  // at all, no array. at(): kXHC1983's first location (page, position, virtual, asterisk).
  const std::map<std::string, std::string> valid = {
      {"kXHC1983", "0161.041*:chù"}, {"kRSUnicode", "120'.3"}, {"kZVariant", "U+6C49"}};
  const auto at = [](Value& v) -> auto& { return v.items[0].items[0].items[0].items; };
  const std::vector<std::pair<std::string, std::function<void(Value&)>>> damages = {
      {"kXHC1983", [&](Value& v) { at(v)[0].integer = 12345; }},
      {"kXHC1983", [&](Value& v) { at(v)[2].integer = 10; }},
      {"kXHC1983", [&](Value& v) { at(v)[0].integer = -1; }},
      {"kXHC1983", [&](Value& v) { at(v)[0].kind = Value::Kind::kString; }},
      {"kXHC1983", [&](Value& v) { at(v)[3].integer = -1; }},
      {"kXHC1983", [&](Value& v) { at(v)[3].kind = Value::Kind::kString; }},
      {"kXHC1983", [&](Value& v) { at(v).pop_back(); }},
      {"kXHC1983", [](Value& v) { v.items[0].items[1].text = {}; }},
      {"kXHC1983", [](Value& v) { v.items.clear(); }},
      {"kRSUnicode", [](Value& v) { v.items[0].items[0].integer = -1; }},
      {"kRSUnicode", [](Value& v) { v.items[0].items[1].integer = -1; }},
      {"kRSUnicode", [](Value& v) { v.items[0].items[1].integer = 4; }},
      {"kRSUnicode", [](Value& v) { v.items[0].items[2].kind = Value::Kind::kString; }},
      {"kRSUnicode", [](Value& v) { v.items[0].items.erase(v.items[0].items.begin()); }},
      {"kRSUnicode", [](Value& v) { v.items.clear(); }},
      {"kZVariant", [](Value& v) { v.items[0].items.erase(v.items[0].items.begin()); }},
      {"kZVariant", [](Value& v) { v.items[0].items.pop_back(); }},
      {"kZVariant", [](Value& v) { v.kind = Value::Kind::kObject; }},
  };
  Value v;
  std::string out;
  for (std::size_t i = 0; i < damages.size(); ++i) {
    const FieldExpander& expander = *kelvorn_expand::expanderOf(damages[i].first);
    ASSERT_TRUE(expandValue(expander, valid.at(damages[i].first), &v));
    damages[i].second(v);
    EXPECT_FALSE(rejoinValue(expander, v, &out)) << i;
  }

  // A page read with a leading zero keeps its digits; one built by hand,
  // or changed, writes without them.
  const FieldExpander& fennIndex = *kelvorn_expand::expanderOf("kFennIndex");
  ASSERT_TRUE(kelvorn_expand::expandValue(fennIndex, "014.07 00.01", &v));
  out.clear();
  ASSERT_TRUE(kelvorn_expand::rejoinValue(fennIndex, v, &out));
  EXPECT_EQ(out, "014.07 00.01");
  v.items[0].items[0].integer = 15;
  v.items[1].items[0].text = {};
  out.clear();
  ASSERT_TRUE(kelvorn_expand::rejoinValue(fennIndex, v, &out));
  EXPECT_EQ(out, "15.07 0.01");
}

// Rules where no field's grammar takes them: a failed alternative gives back
// what it took, a group is no value, a malformed or space character is none.
TEST(FieldsExpand, RulesGiveBackWhatFailedAndReadWholeCharacters) {
  using namespace kelvorn_expand;
  const Rule rest = textUntil("rest", ""), none = group({});
  const std::vector<Rule> firstFails = {literal("1"), integer("n"), literal("!")};
  const Rule backtrack = list({}, " ", choice({}, {object({}, firstFails),
      object({}, {choice({}, {group(firstFails), group({token("t", "0123456789")})}),
                  optional({literal(":"), integer("m"), literal(";")}), rest})}));
  Value v;
  std::string out;
  ASSERT_TRUE(readRule(backtrack, "12:3x", &v));
  EXPECT_EQ(render(v), "[{t:\"12\",m:null,rest:\":3x\"}]");
  EXPECT_TRUE(writeRule(backtrack, v, &out) && out == "12:3x") << out;
  v.items[0].items.erase(v.items[0].items.begin());  // no alternative has what it needs
  EXPECT_FALSE(writeRule(backtrack, v, &out) || readRule(none, "", &v) || writeRule(none, v, &out));
  const Rule oneCharacter = object({}, {character("c"), optional({rest})});
  for (const char* c : {"\xC0\x80", "\x80", " "}) EXPECT_FALSE(readRule(oneCharacter, c, &v)) << c;
}

// Every value of every expanded field in the bundled 17.0 text matches its
// grammar (no value falls back to the raw string), and writing the
// expanded value back gives the raw value.
TEST(FieldsExpand, Unihan17EveryValueMatchesAndWritesBack) {
  const std::string text = testsupport::readFile(KELVORN_FIELDS_DATA_TXT);
  std::map<std::string_view, std::size_t> seen;
  std::vector<std::pair<const FieldExpander*, std::string_view>> samples;
  std::size_t failures = 0;
  fieldstest::forEachDataLine(text, [&](char32_t, std::string_view field, std::string_view raw) {
    const FieldExpander* expander = kelvorn_expand::expanderOf(field);
    if (expander == nullptr) return;
    Value v;
    std::string back;
    const bool matched = kelvorn_expand::expandValue(*expander, raw, &v);
    const bool rejoined = kelvorn_expand::rejoinValue(*expander, v, &back) && back == raw;
    if ((!matched || !rejoined) && ++failures <= 20) {
      ADD_FAILURE() << field << '\t' << raw
                    << (matched ? " writes back as " + back : " does not match");
    }
    if (++seen[expander->field] % 10 == 0) samples.emplace_back(expander, raw);
  });
  EXPECT_EQ(failures, 0u);
  // Every field with a grammar is in the data, so none was checked against
  // nothing.
  for (const FieldExpander& e : kelvorn_expand::fieldExpanders()) {
    EXPECT_GT(seen[e.field], 0u) << e.field;
  }
  EXPECT_EQ(kelvorn_expand::fieldExpanders().size(), 49u);
  EXPECT_EQ(seen["kRSUnicode"], 102998u);
  EXPECT_EQ(seen["kHanyuPinyin"], 34130u);
  EXPECT_EQ(seen["kMandarin"], 44348u);
  EXPECT_EQ(seen["kMojiJoho"], 52515u);

  // Real values with a few bytes cut, added or cut off: whatever still
  // matches a grammar writes back byte for byte, so reading never accepts
  // a form that writing would change.
  std::mt19937 random(17);
  const std::string_view bytes = "0123456789.:,'*-+ ()HCVE\xe7\xb2\xb5";
  std::size_t matched = 0;
  for (const auto& [expander, raw] : samples) {
    std::string changed(raw);
    for (int edit = 0; edit < 2; ++edit) {
      const std::size_t pos = random() % (changed.size() + 1);
      switch (random() % 3) {
        case 0: changed.erase(pos, 1); break;
        case 1: changed.insert(pos, 1, bytes[random() % bytes.size()]); break;
        default: changed.resize(pos); break;
      }
    }
    Value v;
    std::string back;
    if (!kelvorn_expand::expandValue(*expander, changed, &v)) continue;
    ++matched;
    EXPECT_TRUE(kelvorn_expand::rejoinValue(*expander, v, &back) && back == changed)
        << expander->field << " " << changed << " writes back as " << back;
  }
  EXPECT_GT(matched, samples.size() / 10);
}

}  // namespace
