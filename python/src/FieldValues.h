// Python objects for the values of the all-field store: a raw value as a
// str, and an expanded one as None, int, str, list and dict, the same tree
// that `unihan export --expand` writes as JSON.
#ifndef KELVORN_PYTHON_FIELDVALUES_H
#define KELVORN_PYTHON_FIELDVALUES_H

#include <Python.h>

#include <string_view>

#include "fields/expand/Value.h"

namespace kelvorn_python {

// A new reference to the value as a str; bytes that are not UTF-8 (only a
// damaged image holds any) become replacement characters. nullptr with a
// Python error set on failure.
PyObject* newStr(std::string_view value);

// A new reference to the expanded value; nullptr with a Python error set.
PyObject* newExpanded(const kelvorn_expand::Value& value);

// A new reference to the field's value, expanded when `expand` is set and
// the field has a grammar (a value that does not match stays a str).
PyObject* newFieldValue(std::string_view field, std::string_view value, bool expand);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_FIELDVALUES_H
