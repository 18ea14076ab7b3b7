#include "Arguments.h"

#include <array>
#include <string>
#include <string_view>

namespace py = pybind11;

namespace kelvorn_python {
namespace {

constexpr long kMaxCodePoint = 0x10FFFF;

constexpr std::array<const char*, 12> kFieldNames = {
    "kRSUnicode",   "kRSKangXi",     "kRSKanWa",      "kRSKorean",
    "kRSJapanese",  "kRSVantu_Japan1_6", "kTotalStrokes", "kHanyuPinlu",
    "kJapaneseKun", "kJapaneseOn",   "kMandarin",     "kHanYu"};

std::string typeName(py::handle arg) { return Py_TYPE(arg.ptr())->tp_name; }

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

}  // namespace

int codePointOf(py::handle arg) {
  PyObject* obj = arg.ptr();
  if (PyUnicode_Check(obj)) {
    const Py_ssize_t length = PyUnicode_GET_LENGTH(obj);
    if (length != 1) {
      throw py::value_error("expected one character, got a str of length " +
                            std::to_string(length));
    }
    return static_cast<int>(PyUnicode_READ_CHAR(obj, 0));
  }
  if (PyLong_Check(obj)) {
    int overflow = 0;
    const long value = PyLong_AsLongAndOverflow(obj, &overflow);
    if (overflow != 0 || value < 0 || value > kMaxCodePoint) {
      throw py::value_error("code point " + py::str(arg).cast<std::string>() +
                            " is outside 0 to 0x10FFFF");
    }
    return static_cast<int>(value);
  }
  throw py::type_error("expected a one-character str or an int code point, got " + typeName(arg));
}

kelvorn::unihanPropT fieldOf(py::handle arg, FieldKind kind) {
  if (!PyUnicode_Check(arg.ptr())) {
    throw py::type_error(std::string("expected a field name (str), got ") + typeName(arg));
  }
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(arg.ptr(), &size);
  if (utf8 == nullptr) throw py::error_already_set();
  const std::string_view name(utf8, static_cast<std::size_t>(size));
  for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
    const auto prop = static_cast<kelvorn::unihanPropT>(i);
    if (name == kFieldNames[i] && accepts(kind, prop)) return prop;
  }
  throw py::value_error("'" + std::string(name) + "' is not " + expected(kind));
}

const char* fieldName(kelvorn::unihanPropT prop) {
  return kFieldNames.at(static_cast<std::size_t>(prop));
}

}  // namespace kelvorn_python
