#include "fields/expand/Rule.h"

#include <utility>

namespace kelvorn_expand {

Rule literal(std::string_view text) {
  Rule r;  // a literal: the default op
  r.text = text;
  return r;
}

Rule integer(std::string_view key, int width) {
  Rule r;
  r.op = Rule::Op::kInteger;
  r.key = key;
  r.width = width;
  return r;
}

Rule paddedInteger(std::string_view key) {
  Rule r = integer(key);
  r.keepsDigits = true;
  return r;
}

Rule character(std::string_view key) {
  Rule r;
  r.op = Rule::Op::kCharacter;
  r.key = key;
  return r;
}

Rule token(std::string_view key, std::string_view chars, int maxWidth) {
  Rule r;
  r.op = Rule::Op::kToken;
  r.key = key;
  r.chars = chars;
  r.width = maxWidth;
  return r;
}

Rule textUntil(std::string_view key, std::string_view stops, std::string_view until) {
  Rule r = token(key, stops);
  r.exclude = true;
  r.text = until;
  return r;
}

Rule count(std::string_view key, std::string_view repeated, int max) {
  Rule r;
  r.op = Rule::Op::kCount;
  r.key = key;
  r.width = max;
  r.text = repeated;
  return r;
}

namespace {

Rule withParts(Rule::Op op, std::string_view key, std::vector<Rule> parts) {
  Rule r;
  r.op = op;
  r.key = key;
  r.parts = std::move(parts);
  return r;
}

}  // namespace

Rule list(std::string_view key, std::string_view separator, Rule element) {
  Rule r = withParts(Rule::Op::kList, key, {std::move(element)});
  r.text = separator;
  return r;
}

Rule object(std::string_view key, std::vector<Rule> parts) {
  return withParts(Rule::Op::kObject, key, std::move(parts));
}

Rule choice(std::string_view key, std::vector<Rule> alternatives) {
  return withParts(Rule::Op::kChoice, key, std::move(alternatives));
}

Rule group(std::vector<Rule> parts) { return withParts(Rule::Op::kGroup, {}, std::move(parts)); }

Rule optional(std::vector<Rule> parts) {
  return withParts(Rule::Op::kOptional, {}, std::move(parts));
}

}  // namespace kelvorn_expand
