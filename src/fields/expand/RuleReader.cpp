// readRule: a recursive descent over the rule tree. Choices and optional
// groups backtrack to where they started, so a failed alternative leaves
// neither input consumed nor members behind.
#include <cstddef>
#include <utility>

#include "fields/expand/Rule.h"
#include "kelvorn/Utf8.h"

namespace kelvorn_expand {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  bool atEnd() const { return at_ == in_.size(); }

  bool value(const Rule& r, Value* out) {
    switch (r.op) {
      case Rule::Op::kLiteral: return take(r.text);
      case Rule::Op::kInteger: return integer(r, out);
      case Rule::Op::kToken: return token(r, out);
      case Rule::Op::kCount: return repeats(r, out);
      case Rule::Op::kCharacter: return character(out);
      case Rule::Op::kList: return listOf(r, out);
      case Rule::Op::kObject:
        out->kind = Value::Kind::kObject;
        return membersOf(r.parts, out);
      case Rule::Op::kChoice: return firstValue(r, out);
      case Rule::Op::kGroup:
      case Rule::Op::kOptional: break;  // they give members, not a value
    }
    return false;
  }

  // Adds the members the rule gives to `object`.
  bool members(const Rule& r, Value* object) {
    switch (r.op) {
      case Rule::Op::kLiteral: return take(r.text);
      case Rule::Op::kGroup: return membersOf(r.parts, object);
      case Rule::Op::kChoice: return firstMembers(r, object);
      case Rule::Op::kOptional: return optionalMembers(r, object);
      default: break;
    }
    Value v;
    if (!value(r, &v)) return false;
    v.key = r.key;
    object->items.push_back(std::move(v));
    return true;
  }

 private:
  bool take(std::string_view text) {
    if (in_.substr(at_, text.size()) != text) return false;
    at_ += text.size();
    return true;
  }

  bool integer(const Rule& r, Value* out) {
    std::size_t end = at_;
    while (end < in_.size() && isDigit(in_[end])) ++end;
    std::size_t digits = end - at_;
    if (r.width > 0) {
      if (digits < static_cast<std::size_t>(r.width)) return false;
      digits = static_cast<std::size_t>(r.width);
    } else if (digits == 0 || digits > 9 || (digits > 1 && in_[at_] == '0' && !r.keepsDigits)) {
      return false;  // a leading zero would not survive writing the number back
    }
    std::int64_t n = 0;
    for (std::size_t i = 0; i < digits; ++i) n = n * 10 + (in_[at_ + i] - '0');
    at_ += digits;
    out->kind = Value::Kind::kInteger;
    out->integer = n;
    if (r.keepsDigits) out->text = in_.substr(at_ - digits, digits);
    return true;
  }

  bool token(const Rule& r, Value* out) {
    std::size_t end = at_;
    const std::size_t limit = r.width > 0 ? at_ + static_cast<std::size_t>(r.width) : in_.size();
    while (end < in_.size() && end < limit) {
      const bool listed = r.chars.find(in_[end]) != std::string_view::npos;
      if (listed == r.exclude) break;
      if (!r.text.empty() && in_.substr(end, r.text.size()) == r.text) break;
      ++end;
    }
    if (end == at_) return false;
    out->kind = Value::Kind::kString;
    out->text = in_.substr(at_, end - at_);
    at_ = end;
    return true;
  }

  bool repeats(const Rule& r, Value* out) {
    int n = 0;
    while (n < r.width && take(r.text)) ++n;
    out->kind = Value::Kind::kInteger;
    out->integer = n;
    return true;
  }

  // One character in strict UTF-8, as every layer of the library reads it; a
  // malformed sequence is no character, so the value stays raw.
  bool character(Value* out) {
    std::size_t end = at_;
    char32_t decoded = 0;
    if (!kelvorn::utf8::next(in_, &end, &decoded) || decoded == U' ') return false;
    out->kind = Value::Kind::kString;
    out->text = in_.substr(at_, end - at_);
    at_ = end;
    return true;
  }

  bool listOf(const Rule& r, Value* out) {
    out->kind = Value::Kind::kArray;
    do {
      Value element;
      if (!value(r.parts[0], &element)) return false;
      out->items.push_back(std::move(element));
    } while (take(r.text));
    return true;
  }

  bool membersOf(const std::vector<Rule>& parts, Value* object) {
    for (const Rule& part : parts) {
      if (!members(part, object)) return false;
    }
    return true;
  }

  bool firstValue(const Rule& r, Value* out) {
    const std::size_t start = at_;
    for (const Rule& alternative : r.parts) {
      Value v;
      if (value(alternative, &v)) {
        *out = std::move(v);
        return true;
      }
      at_ = start;
    }
    return false;
  }

  bool firstMembers(const Rule& r, Value* object) {
    const std::size_t start = at_;
    const std::size_t had = object->items.size();
    for (const Rule& alternative : r.parts) {
      if (members(alternative, object)) return true;
      at_ = start;
      object->items.resize(had);
    }
    return false;
  }

  bool optionalMembers(const Rule& r, Value* object) {
    const std::size_t start = at_;
    const std::size_t had = object->items.size();
    if (membersOf(r.parts, object)) return true;
    at_ = start;
    object->items.resize(had);
    for (const Rule& part : r.parts) {
      if (part.key.empty()) continue;
      Value absent;
      absent.key = part.key;
      object->items.push_back(absent);
    }
    return true;
  }

  std::string_view in_;
  std::size_t at_ = 0;
};

}  // namespace

bool readRule(const Rule& rule, std::string_view raw, Value* out) {
  Reader reader(raw);
  return reader.value(rule, out) && reader.atEnd();
}

}  // namespace kelvorn_expand
