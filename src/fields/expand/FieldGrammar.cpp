#include "fields/expand/FieldGrammar.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "fields/VariantValues.h"
#include "text/RadicalStrokeGrammar.h"

namespace kelvorn_expand {
namespace {

Value stringValue(std::string_view key, std::string_view text) {
  Value v;
  v.kind = Value::Kind::kString;
  v.key = key;
  v.text = text;
  return v;
}

// The raw text of expanded variants: targets apart by one space, each with
// "<" and its sources apart by commas when it has any.
bool writeVariants(const Value& value, std::string* out) {
  if (value.kind != Value::Kind::kArray) return false;
  for (const Value& entry : value.items) {
    const Value* codePoint = member(entry, "codePoint");
    const Value* sources = member(entry, "sources");
    if (codePoint == nullptr || sources == nullptr) return false;
    if (&entry != &value.items.front()) *out += ' ';
    *out += codePoint->text;
    for (const Value& source : sources->items) {
      *out += &source == &sources->items.front() ? '<' : ',';
      *out += source.text;
    }
  }
  return true;
}

// U+5154<kMatthews:T,kLau U+514E: per target its code point as the value
// writes it and the sources that back it. The variant reader of
// fields/VariantValues.h is the one description of that grammar; a value
// with any piece it sets aside, or spaced otherwise than writeVariants
// writes it, stays raw, as a grammar's mismatch does.
bool readVariants(std::string_view raw, Value* out) {
  const kelvorn_fields_private::VariantValue parsed = kelvorn_fields_private::parseVariantValue(raw);
  if (!parsed.invalid.empty() || parsed.targets.empty()) return false;
  out->kind = Value::Kind::kArray;
  std::size_t at = 0;
  for (const kelvorn_fields_private::VariantTarget& target : parsed.targets) {
    while (at < raw.size() && raw[at] == ' ') ++at;  // as the reader skips them
    const std::size_t end = std::min(raw.find(' ', at), raw.size());
    const std::string_view piece = raw.substr(at, end - at);
    at = end;
    Value entry;
    entry.kind = Value::Kind::kObject;
    entry.items.push_back(stringValue("codePoint", piece.substr(0, piece.find('<'))));
    Value sources;
    sources.kind = Value::Kind::kArray;
    sources.key = "sources";
    for (const std::string_view source : target.sources) sources.items.push_back(stringValue({}, source));
    entry.items.push_back(std::move(sources));
    out->items.push_back(std::move(entry));
  }
  std::string back;
  return writeVariants(*out, &back) && back == raw;
}

// A number of a radical-stroke value that writes back as the data wrote it:
// no zeros before it, at most nine digits, and no sign but a minus before a
// residual other than 0.
bool writesBack(const kelvorn_private::WrittenNumber& number, bool residual) {
  if (!number.present() || number.padded() || number.digits.size() > 9) return false;
  return number.sign == 0 || (residual && number.sign == '-' && number.magnitude != 0);
}

Value integerValue(std::string_view key, std::int64_t integer) {
  return Value{Value::Kind::kInteger, key, integer, {}, {}};
}

// kRSUnicode 120'.3 47.-1: per piece the radical, the apostrophes that name
// its simplified (or other non-traditional) form, and the residual strokes.
// text/RadicalStrokeGrammar.h is the one description of the grammar; a
// value expands when every piece keeps to it and writes back byte for byte.
bool readRadicalStrokes(std::string_view raw, Value* out) {
  out->kind = Value::Kind::kArray;
  return kelvorn_private::forEachRadicalStrokePiece(raw, [out](std::string_view text) {
    const kelvorn_private::RadicalStrokePiece piece = kelvorn_private::scanRadicalStroke(text);
    if (!writesBack(piece.radical, false) || piece.marks > kelvorn_private::kMaxRadicalMarks ||
        !writesBack(piece.residual, true) || !piece.rest.empty()) {
      return false;
    }
    const std::int64_t residual = piece.residual.magnitude;
    Value entry;
    entry.kind = Value::Kind::kObject;
    entry.items = {integerValue("radical", piece.radical.magnitude),
                   integerValue("simplified", piece.marks),
                   integerValue("residual", piece.residual.sign == '-' ? -residual : residual)};
    out->items.push_back(std::move(entry));
    return true;
  });
}

// The integer member `key` of an object; none when it has no such member.
std::optional<std::int64_t> integerMember(const Value& object, std::string_view key) {
  const Value* m = member(object, key);
  if (m == nullptr || m->kind != Value::Kind::kInteger) return std::nullopt;
  return m->integer;
}

// The raw text of expanded radical-strokes, pieces apart by one space.
bool writeRadicalStrokes(const Value& value, std::string* out) {
  if (value.kind != Value::Kind::kArray || value.items.empty()) return false;
  for (const Value& piece : value.items) {
    const std::optional<std::int64_t> radical = integerMember(piece, "radical");
    const std::optional<std::int64_t> marks = integerMember(piece, "simplified");
    const std::optional<std::int64_t> residual = integerMember(piece, "residual");
    if (!radical || !marks || !residual || *radical < 0 || *marks < 0 ||
        *marks > kelvorn_private::kMaxRadicalMarks) {
      return false;
    }
    if (&piece != &value.items.front()) *out += ' ';
    *out += std::to_string(*radical) + std::string(static_cast<std::size_t>(*marks), '\'') + '.' +
            std::to_string(*residual);
  }
  return true;
}

// Space-separated values of one form, as most multi-valued fields are.
Rule spaced(Rule element) { return list({}, " ", std::move(element)); }

// 10019.020: volume 1, page 19, position 2, virtual position 0 (a character
// the dictionary does not have, placed after position 2).
std::vector<Rule> hanYuParts() {
  return {integer("volume", 1), integer("page", 4), literal("."), integer("position", 2),
          integer("virtual", 1)};
}

// 0076.021: page 76, position 2, virtual position 1, with the page written
// in `pageDigits` digits.
std::vector<Rule> pageParts(int pageDigits) {
  return {integer("page", pageDigits), literal("."), integer("position", 2),
          integer("virtual", 1)};
}

Rule dictionaryPosition(int pageDigits) { return spaced(object({}, pageParts(pageDigits))); }

// A reading as the reading fields write it: letters, tone marks included.
Rule reading(std::string_view key) { return textUntil(key, " ,:()"); }

// 10278.080,10278.090:sù and 0161.040,0161.041*:chù: where in a dictionary
// a reading (or readings) is given.
Rule locatedReadings(Rule location, Rule readings) {
  return spaced(object({}, {list("locations", ",", std::move(location)), literal(":"),
                            std::move(readings)}));
}

// C+1533+85.3.10: the CID (C: the character's own glyph, V: a variant
// glyph), the radical, the strokes of the radical's form, and the rest.
Rule vantuRadicalStroke() {
  return spaced(object({}, {token("glyph", "CV", 1), literal("+"), integer("cid"), literal("+"),
                            integer("radical"), literal("."), integer("radicalFormStrokes"),
                            literal("."), integer("residual")}));
}

// 10:J, 12:JK, or - : a count for the IRG sources named by letter.
Rule alternateTotalStrokes() {
  return spaced(choice({}, {literal("-"), object({}, {integer("strokes"), literal(":"),
                                                      token("sources", "BGHJKMPSTUV")})}));
}

// hé(9513): a reading and how often it was found.
Rule readingFrequency() {
  return spaced(object({}, {reading("reading"), literal("("), integer("frequency"),
                            literal(")")}));
}

// xiàn,quàn粵hyun3,gyun3: Mandarin readings, then Cantonese ones.
Rule mandarinCantonese() {
  return spaced(object({}, {list("mandarin", ",", textUntil({}, " ,", "粵")), literal("粵"),
                            list("cantonese", ",", textUntil({}, " ,"))}));
}

// 00034, 11606':E0101, H001: an entry of the main volumes (five digits) or
// of the supplement (H and three), primes, and an optional variation
// selector for the glyph.
Rule morohashi() {
  return spaced(object({}, {choice({}, {group({integer("entry", 5)}),
                                        group({literal("H"), integer("supplementEntry", 3)})}),
                            count("primes", "'", 2),
                            optional({literal(":"),
                                      token("variationSelector", "0123456789ABCDEF", 6)})}));
}

// G0-5A3A, GKX-0078.01: the source and its reference.
Rule irgSource() {
  return object({}, {token("source", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), literal("-"),
                     textUntil("value", " ")});
}

// A page and a position on it, e.g. kSBGY 427.07; `pageDigits` 0 when the
// page is written without leading zeros.
Rule pagePosition(int pageDigits, int positionDigits) {
  return spaced(object({}, {integer("page", pageDigits), literal("."),
                            integer("position", positionDigits)}));
}

// 064/09;QHJU;tan4,taan4: the radical and residual strokes, the Cangjie code
// (which some entries lack) and Cantonese readings; a reading may mark an
// optional initial ([ng]) or a changed tone (min6/2), kept as written.
Rule cheungBauer() {
  return spaced(object({}, {integer("radical", 3), literal("/"), integer("strokes", 2),
                            literal(";"), optional({token("cangjie", "ABCDEFGHIJKLMNOPQRSTUVWXYZ")}),
                            literal(";"), list("readings", ",", textUntil({}, " ,"))}));
}

// 1530.207: page 1530, row 2, position 07 in that row.
Rule cihaiT() {
  return spaced(object({}, {integer("page"), literal("."), integer("row", 1),
                            integer("position", 2)}));
}

// 以諸: the characters that spell the initial and the final.
Rule fanqie() { return spaced(object({}, {character("initial"), character("final")})); }

// 381aP: the Soothill number of the phonetic (with an `a` for its second
// group), then how frequent the character is, A to K, P or *.
Rule fenn() {
  return spaced(object({}, {integer("phonetic"), count("suffixA", "a", 1),
                            token("frequency", "ABCDEFGHIJKP*", 1)}));
}

// 41.04: page and position; one page of the 17.0 data has a leading zero
// (014.07), which writes back as it was.
Rule fennIndex() {
  return spaced(object({}, {paddedInteger("page"), literal("."), integer("position", 2)}));
}

// 0089j': the series, the letter of the character in it, and primes.
Rule gsr() {
  return spaced(object({}, {integer("series", 4), token("letter", "abcdefghijklmnopqrstuvwxyz", 1),
                            count("primes", "'", 3)}));
}

// ⼑[U+2F11]:10319.120: the radical, its code point, and where its section
// begins in the Hanyu Da Zidian.
Rule hdzRadBreak() {
  return object({}, {character("radical"), literal("["),
                     token("codePoint", "U+0123456789ABCDEF"), literal("]:"),
                     object("location", hanYuParts())});
}

// AGTJHKMP: the priority (A, B or C), then the sources the character is
// core for.
Rule iiCore() {
  return object({}, {token("priority", "ABC", 1), token("sources", "GHJKMPT")});
}

// MJ000008:E0100: the Moji Joho entry, with the variation selector of the
// glyph when the value names one.
Rule mojiJoho() {
  return spaced(object({}, {literal("MJ"), integer("entry", 6),
                            optional({literal(":"),
                                      token("variationSelector", "0123456789ABCDEF", 6)})}));
}

// I:U+7681:U+7690, S:52, U: the kind of strangeness (a capital letter),
// with a stroke count or the code points it concerns when it has them.
Rule strange() {
  return spaced(object({}, {token("category", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1),
                            optional({literal(":"), integer("strokes")}),
                            optional({literal(":"), list("codePoints", ":",
                                                         token({}, "U+0123456789ABCDEF"))})}));
}

// vingq*: a reading in Zhuang orthography; the asterisk marks one the
// source gives with reservations.
Rule zhuang() {
  return spaced(object({}, {token("reading", "abcdefghijklmnopqrstuvwxyz"),
                            count("asterisk", "*", 1)}));
}

struct Grammars {
  Rule vantuRadicalStroke = kelvorn_expand::vantuRadicalStroke();
  Rule totalStrokes = spaced(integer({}));
  Rule alternateTotalStrokes = kelvorn_expand::alternateTotalStrokes();
  Rule hanYu = spaced(object({}, hanYuParts()));
  Rule page4 = dictionaryPosition(4);
  Rule hanyuPinyin = locatedReadings(object({}, hanYuParts()), list("readings", ",", reading({})));
  Rule xhc1983 = locatedReadings(
      object({}, [] {
        std::vector<Rule> parts = pageParts(4);
        parts.push_back(count("asterisk", "*", 1));
        return parts;
      }()),
      reading("reading"));
  Rule tghz2013 = locatedReadings(object({}, pageParts(3)), reading("reading"));
  Rule hanyuPinlu = readingFrequency();
  Rule smszd2003Readings = mandarinCantonese();
  Rule morohashi = kelvorn_expand::morohashi();
  Rule irgSource = kelvorn_expand::irgSource();
  Rule mandarin = spaced(textUntil({}, " "));
  Rule cheungBauer = kelvorn_expand::cheungBauer();
  Rule cheungBauerIndex = pagePosition(3, 2);
  Rule cihaiT = kelvorn_expand::cihaiT();
  Rule fanqie = kelvorn_expand::fanqie();
  Rule fenn = kelvorn_expand::fenn();
  Rule fennIndex = kelvorn_expand::fennIndex();
  Rule gsr = kelvorn_expand::gsr();
  Rule hdzRadBreak = kelvorn_expand::hdzRadBreak();
  Rule iiCore = kelvorn_expand::iiCore();
  Rule mojiJoho = kelvorn_expand::mojiJoho();
  Rule sbgy = pagePosition(3, 2);
  Rule smszd2003Index = pagePosition(0, 2);
  Rule strange = kelvorn_expand::strange();
  Rule zhuang = kelvorn_expand::zhuang();
};

std::vector<FieldExpander> buildTable() {
  static const Grammars g;
  std::vector<FieldExpander> table = {
      {"kAlternateTotalStrokes", &g.alternateTotalStrokes},
      {"kCheungBauer", &g.cheungBauer},
      {"kCheungBauerIndex", &g.cheungBauerIndex},
      {"kCihaiT", &g.cihaiT},
      {"kFanqie", &g.fanqie},
      {"kFenn", &g.fenn},
      {"kFennIndex", &g.fennIndex},
      {"kGSR", &g.gsr},
      {"kHDZRadBreak", &g.hdzRadBreak},
      {"kIICore", &g.iiCore},
      {"kMandarin", &g.mandarin},
      {"kMojiJoho", &g.mojiJoho},
      {"kSBGY", &g.sbgy},
      {"kSMSZD2003Index", &g.smszd2003Index},
      {"kStrange", &g.strange},
      {"kZhuang", &g.zhuang},
      {"kDaeJaweon", &g.page4},
      {"kHanYu", &g.hanYu},
      {"kHanyuPinlu", &g.hanyuPinlu},
      {"kHanyuPinyin", &g.hanyuPinyin},
      {"kIRGDaeJaweon", &g.page4},
      {"kIRGHanyuDaZidian", &g.hanYu},
      {"kIRGKangXi", &g.page4},
      {"kKangXi", &g.page4},
      {"kMorohashi", &g.morohashi},
      {"kRSUnicode", nullptr, &readRadicalStrokes, &writeRadicalStrokes},
      {"kRSVantu_Japan1_6", &g.vantuRadicalStroke},
      {"kSMSZD2003Readings", &g.smszd2003Readings},
      {"kTGHZ2013", &g.tghz2013},
      {"kTotalStrokes", &g.totalStrokes},
      {"kXHC1983", &g.xhc1983},
  };
  for (const std::string_view source :
       {"kIRG_GSource", "kIRG_HSource", "kIRG_JSource", "kIRG_KPSource", "kIRG_KSource",
        "kIRG_MSource", "kIRG_SSource", "kIRG_TSource", "kIRG_UKSource", "kIRG_USource",
        "kIRG_VSource"}) {
    table.push_back({source, &g.irgSource});
  }
  for (const std::string_view variant :
       {"kCompatibilityVariant", "kSemanticVariant", "kSimplifiedVariant",
        "kSpecializedSemanticVariant", "kSpoofingVariant", "kTraditionalVariant", "kZVariant"}) {
    table.push_back({variant, nullptr, &readVariants, &writeVariants});
  }
  std::sort(table.begin(), table.end(),
            [](const FieldExpander& a, const FieldExpander& b) { return a.field < b.field; });
  return table;
}

}  // namespace

const std::vector<FieldExpander>& fieldExpanders() {
  static const std::vector<FieldExpander> table = buildTable();
  return table;
}

const FieldExpander* expanderOf(std::string_view field) {
  const std::vector<FieldExpander>& table = fieldExpanders();
  const auto it = std::lower_bound(
      table.begin(), table.end(), field,
      [](const FieldExpander& e, std::string_view name) { return e.field < name; });
  return it != table.end() && it->field == field ? &*it : nullptr;
}

bool expandValue(const FieldExpander& expander, std::string_view raw, Value* out) {
  Value parsed;
  const bool matched = expander.grammar != nullptr ? readRule(*expander.grammar, raw, &parsed)
                                                   : expander.parser(raw, &parsed);
  *out = matched ? std::move(parsed) : stringValue({}, raw);
  return matched;
}

bool rejoinValue(const FieldExpander& expander, const Value& value, std::string* out) {
  if (expander.grammar != nullptr) return writeRule(*expander.grammar, value, out);
  return expander.writer != nullptr && expander.writer(value, out);
}

}  // namespace kelvorn_expand
