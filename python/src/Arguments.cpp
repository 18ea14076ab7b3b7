#include "Arguments.h"

#include <array>
#include <string>
#include <string_view>

#include "kelvorn/UnihanFieldNames.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

constexpr long kMaxCodePoint = 0x10FFFF;

bool accepts(FieldKind kind, kelvorn::unihanPropT prop) {
  switch (kind) {
    case FieldKind::kSource:
      return prop <= kelvorn::kRSVantu_Japan1_6;
    case FieldKind::kReading:
      return prop >= kelvorn::kHanyuPinlu && prop <= kelvorn::kMandarin;
    case FieldKind::kAny:
      break;
  }
  return true;
}

const char* expected(FieldKind kind) {
  switch (kind) {
    case FieldKind::kSource:
      return "a radical-stroke source (kRSUnicode, kRSKangXi, kRSKanWa, kRSKorean, kRSJapanese "
             "or kRSVantu_Japan1_6)";
    case FieldKind::kReading:
      return "a reading field (kMandarin, kHanyuPinlu, kJapaneseKun or kJapaneseOn)";
    case FieldKind::kAny:
      break;
  }
  return "a Unihan field the library keeps (kRSUnicode, kRSKangXi, kRSKanWa, kRSKorean, "
         "kRSJapanese, kRSVantu_Japan1_6, kTotalStrokes, kHanyuPinlu, kJapaneseKun, "
         "kJapaneseOn, kMandarin or kHanYu)";
}

// Field names as interned Python strings: a name written as a literal in
// Python code is usually this very object, so a pointer comparison finds it.
const std::array<PyObject*, 12>& internedNames() {
  static const std::array<PyObject*, 12> names = [] {
    std::array<PyObject*, 12> out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
      // The names are literals, so data() ends in a terminator. Kept for the process.
      out[i] = PyUnicode_InternFromString(kelvorn::kFieldNames[i].data());
    }
    return out;
  }();
  return names;
}

int fieldIndex(PyObject* arg) {
  const std::array<PyObject*, 12>& names = internedNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == arg) return static_cast<int>(i);
  }
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(arg, &size);
  if (utf8 == nullptr) {
    PyErr_Clear();  // a lone surrogate: no field is named so
    return -1;
  }
  const std::string_view name(utf8, static_cast<std::size_t>(size));
  const auto field = kelvorn::fieldNamed(name);
  return field ? static_cast<int>(*field) : -1;
}

}  // namespace

bool toCodePoint(PyObject* arg, int* cp) {
  if (PyUnicode_Check(arg)) {
    const Py_ssize_t length = PyUnicode_GET_LENGTH(arg);
    if (length == 1) {
      *cp = static_cast<int>(PyUnicode_READ_CHAR(arg, 0));
      return true;
    }
    PyErr_Format(PyExc_ValueError, "expected one character, got a str of length %zd", length);
    return false;
  }
  if (PyLong_Check(arg)) {
    int overflow = 0;
    const long value = PyLong_AsLongAndOverflow(arg, &overflow);
    if (overflow == 0 && value >= 0 && value <= kMaxCodePoint) {
      *cp = static_cast<int>(value);
      return true;
    }
    if (value == -1 && PyErr_Occurred() != nullptr) return false;
    PyErr_Format(PyExc_ValueError, "code point %R is outside 0 to 0x10FFFF", arg);
    return false;
  }
  PyErr_Format(PyExc_TypeError, "expected a one-character str or an int code point, got %s",
               Py_TYPE(arg)->tp_name);
  return false;
}

bool toField(PyObject* arg, FieldKind kind, kelvorn::unihanPropT* prop) {
  if (!PyUnicode_Check(arg)) {
    PyErr_Format(PyExc_TypeError, "expected a field name (str), got %s", Py_TYPE(arg)->tp_name);
    return false;
  }
  const int index = fieldIndex(arg);
  if (index >= 0 && accepts(kind, static_cast<kelvorn::unihanPropT>(index))) {
    *prop = static_cast<kelvorn::unihanPropT>(index);
    return true;
  }
  PyErr_Format(PyExc_ValueError, "%R is not %s", arg, expected(kind));
  return false;
}

int codePointOf(py::handle arg) {
  int cp = 0;
  if (!toCodePoint(arg.ptr(), &cp)) throw py::error_already_set();
  return cp;
}

kelvorn::unihanPropT fieldOf(py::handle arg, FieldKind kind) {
  kelvorn::unihanPropT prop = kelvorn::kRSUnicode;
  if (!toField(arg.ptr(), kind, &prop)) throw py::error_already_set();
  return prop;
}

}  // namespace kelvorn_python
