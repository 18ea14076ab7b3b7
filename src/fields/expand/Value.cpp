#include "fields/expand/Value.h"

namespace kelvorn_expand {

const Value* member(const Value& object, std::string_view key) {
  if (object.kind != Value::Kind::kObject) return nullptr;
  for (const Value& m : object.items) {
    if (m.key == key) return &m;
  }
  return nullptr;
}

}  // namespace kelvorn_expand
