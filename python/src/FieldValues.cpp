#include "FieldValues.h"

#include "fields/expand/FieldGrammar.h"

namespace kelvorn_python {
namespace {

using kelvorn_expand::Value;

PyObject* newList(const Value& value) {
  PyObject* list = PyList_New(static_cast<Py_ssize_t>(value.items.size()));
  if (list == nullptr) return nullptr;
  for (std::size_t i = 0; i < value.items.size(); ++i) {
    PyObject* item = newExpanded(value.items[i]);
    if (item == nullptr) {
      Py_DECREF(list);
      return nullptr;
    }
    PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), item);  // steals item
  }
  return list;
}

PyObject* newDict(const Value& value) {
  PyObject* dict = PyDict_New();
  if (dict == nullptr) return nullptr;
  for (const Value& m : value.items) {
    PyObject* key = newStr(m.key);
    PyObject* item = key == nullptr ? nullptr : newExpanded(m);
    const bool stored = item != nullptr && PyDict_SetItem(dict, key, item) == 0;
    Py_XDECREF(key);
    Py_XDECREF(item);
    if (!stored) {
      Py_DECREF(dict);
      return nullptr;
    }
  }
  return dict;
}

}  // namespace

PyObject* newStr(std::string_view value) {
  return PyUnicode_DecodeUTF8(value.data(), static_cast<Py_ssize_t>(value.size()), "replace");
}

PyObject* newExpanded(const Value& value) {
  switch (value.kind) {
    case Value::Kind::kNull: Py_RETURN_NONE;
    case Value::Kind::kInteger: return PyLong_FromLongLong(value.integer);
    case Value::Kind::kString: return newStr(value.text);
    case Value::Kind::kArray: return newList(value);
    case Value::Kind::kObject: return newDict(value);
  }
  Py_RETURN_NONE;
}

PyObject* newFieldValue(std::string_view field, std::string_view value, bool expand) {
  const kelvorn_expand::FieldExpander* expander =
      expand ? kelvorn_expand::expanderOf(field) : nullptr;
  if (expander == nullptr) return newStr(value);
  Value expanded;
  kelvorn_expand::expandValue(*expander, value, &expanded);
  return newExpanded(expanded);
}

}  // namespace kelvorn_python
