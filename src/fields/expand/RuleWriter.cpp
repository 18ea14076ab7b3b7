// writeRule: the rule tree read the other way, from a Value back to text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fields/expand/Rule.h"

namespace kelvorn_expand {
namespace {

bool writeValue(const Rule& r, const Value& v, std::string* out);

bool writeInteger(const Rule& r, const Value& v, std::string* out) {
  if (v.kind != Value::Kind::kInteger || v.integer < 0) return false;
  const std::string digits = std::to_string(v.integer);
  if (r.keepsDigits && !v.text.empty() &&
      v.text.substr(std::min(v.text.find_first_not_of('0'), v.text.size() - 1)) == digits) {
    out->append(v.text);  // the digits as the data wrote them, zeros and all
    return true;
  }
  if (r.width > 0 && digits.size() > static_cast<std::size_t>(r.width)) return false;
  if (r.width > 0) out->append(static_cast<std::size_t>(r.width) - digits.size(), '0');
  out->append(digits);
  return true;
}

bool writeMembers(const Rule& r, const Value& object, std::string* out);

bool writeParts(const std::vector<Rule>& parts, const Value& object, std::string* out) {
  for (const Rule& part : parts) {
    if (!writeMembers(part, object, out)) return false;
  }
  return true;
}

// True when the object has none of the optional group's keyed members, or
// only null ones: the group was absent from the text.
bool absentGroup(const Rule& r, const Value& object) {
  for (const Rule& part : r.parts) {
    const Value* m = part.key.empty() ? nullptr : member(object, part.key);
    if (m != nullptr && m->kind != Value::Kind::kNull) return false;
  }
  return true;
}

bool writeMembers(const Rule& r, const Value& object, std::string* out) {
  switch (r.op) {
    case Rule::Op::kLiteral: out->append(r.text); return true;
    case Rule::Op::kGroup: return writeParts(r.parts, object, out);
    case Rule::Op::kOptional: return absentGroup(r, object) || writeParts(r.parts, object, out);
    case Rule::Op::kChoice: {
      const std::size_t had = out->size();
      for (const Rule& alternative : r.parts) {
        if (writeMembers(alternative, object, out)) return true;
        out->resize(had);
      }
      return false;
    }
    default: break;
  }
  const Value* m = member(object, r.key);
  return m != nullptr && writeValue(r, *m, out);
}

bool writeList(const Rule& r, const Value& v, std::string* out) {
  if (v.kind != Value::Kind::kArray || v.items.empty()) return false;
  for (std::size_t i = 0; i < v.items.size(); ++i) {
    if (i > 0) out->append(r.text);
    if (!writeValue(r.parts[0], v.items[i], out)) return false;
  }
  return true;
}

bool writeValue(const Rule& r, const Value& v, std::string* out) {
  switch (r.op) {
    case Rule::Op::kLiteral:
      out->append(r.text);
      return v.kind == Value::Kind::kNull;
    case Rule::Op::kInteger: return writeInteger(r, v, out);
    case Rule::Op::kToken:
    case Rule::Op::kCharacter:
      out->append(v.text);
      return v.kind == Value::Kind::kString && !v.text.empty();
    case Rule::Op::kCount:
      if (v.kind != Value::Kind::kInteger || v.integer < 0 || v.integer > r.width) return false;
      for (std::int64_t i = 0; i < v.integer; ++i) out->append(r.text);
      return true;
    case Rule::Op::kList: return writeList(r, v, out);
    case Rule::Op::kObject:
      return v.kind == Value::Kind::kObject && writeParts(r.parts, v, out);
    case Rule::Op::kChoice: {
      const std::size_t had = out->size();
      for (const Rule& alternative : r.parts) {
        if (writeValue(alternative, v, out)) return true;
        out->resize(had);
      }
      return false;
    }
    case Rule::Op::kGroup:
    case Rule::Op::kOptional: break;
  }
  return false;
}

}  // namespace

bool writeRule(const Rule& rule, const Value& value, std::string* out) {
  return writeValue(rule, value, out);
}

}  // namespace kelvorn_expand
