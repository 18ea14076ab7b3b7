// The notation the field grammars are written in. A grammar is a tree of
// rules; the same tree parses a raw value into a Value (readRule) and writes
// a Value back as the raw text (writeRule), so each grammar is described
// once and the two directions cannot disagree.
#ifndef KELVORN_FIELDS_EXPAND_RULE_H
#define KELVORN_FIELDS_EXPAND_RULE_H

#include <string>
#include <string_view>
#include <vector>

#include "fields/expand/Value.h"

namespace kelvorn_expand {

struct Rule {
  enum class Op : unsigned char {
    kLiteral,   // `text`, exactly; its value is null
    kInteger,   // decimal digits: exactly `width` of them, or (width 0) 1 to 9
                // without a leading zero;
                // `keepsDigits` allows leading zeros and keeps the digits
    kToken,     // 1 or more bytes (at most `width` when not 0), each one of
                // `chars`, or (`exclude`) none of `chars`, and ending before
                // `text` when that is given: a string
    kCount,     // 0 to `width` repeats of `text`: an integer
    kCharacter, // one UTF-8 character other than a space: a string
    kList,      // parts[0] once or more, separated by `text`: an array
    kObject,    // parts in order: an object of the members they give
    kChoice,    // the first of parts that matches
    kGroup,     // parts in order, giving members to the enclosing object
    kOptional,  // a group, or nothing: then its keyed parts are null members
  };

  Op op = Op::kLiteral;
  // Inside an object, the name of the member that the rule's value becomes.
  std::string_view key;
  std::string_view text;
  std::string_view chars;
  int width = 0;
  bool exclude = false;
  bool keepsDigits = false;
  std::vector<Rule> parts;
};

Rule literal(std::string_view text);
Rule integer(std::string_view key, int width = 0);
// 1 to 9 digits, leading zeros too: the Value keeps the digits as its text,
// so that a number the data writes with a stray zero writes back as it was.
Rule paddedInteger(std::string_view key);
// One character, however many bytes its UTF-8 form has.
Rule character(std::string_view key);
// Bytes taken from `chars`, at most maxWidth of them (0: any number).
Rule token(std::string_view key, std::string_view chars, int maxWidth = 0);
// Bytes up to one of `stops`, or up to `until`, or the end.
Rule textUntil(std::string_view key, std::string_view stops, std::string_view until = {});
// 0 to max repeats of the byte `repeated` (a one-byte string).
Rule count(std::string_view key, std::string_view repeated, int max);
Rule list(std::string_view key, std::string_view separator, Rule element);
Rule object(std::string_view key, std::vector<Rule> parts);
Rule choice(std::string_view key, std::vector<Rule> alternatives);
Rule group(std::vector<Rule> parts);
Rule optional(std::vector<Rule> parts);

// The whole of raw read as `rule`; false when raw does not match it (out is
// then unspecified).
bool readRule(const Rule& rule, std::string_view raw, Value* out);
// Appends the text `rule` reads as `value`; false when the value does not
// fit the rule (what was appended is then unspecified).
bool writeRule(const Rule& rule, const Value& value, std::string* out);

}  // namespace kelvorn_expand

#endif  // KELVORN_FIELDS_EXPAND_RULE_H
