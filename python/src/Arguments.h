// How Python arguments become the core's arguments: a character is a
// one-character str or an int code point, a field is its Unihan name.
// Conversion failures raise ValueError or TypeError naming what was wrong, so
// no bad value ever reaches the core.
#ifndef KELVORN_PYTHON_ARGUMENTS_H
#define KELVORN_PYTHON_ARGUMENTS_H

#include <pybind11/pybind11.h>

#include "kelvorn/UnihanMgr.h"

namespace kelvorn_python {

struct CodePoint {
  int value = 0;
};

// Which fields an argument may name; each kind refuses the others with a
// message listing what it accepts.
enum class FieldKind { kAny, kSource, kReading };

template <FieldKind Kind>
struct FieldArg {
  kelvorn::unihanPropT prop = kelvorn::kRSUnicode;
};
using AnyField = FieldArg<FieldKind::kAny>;
using Source = FieldArg<FieldKind::kSource>;
using ReadingField = FieldArg<FieldKind::kReading>;

// Each sets a Python ValueError or TypeError and returns false for an
// argument it refuses; the call paths that bypass pybind11 use these.
bool toCodePoint(PyObject* arg, int* cp);
bool toField(PyObject* arg, FieldKind kind, kelvorn::unihanPropT* prop);

// The same, throwing pybind11::error_already_set.
int codePointOf(pybind11::handle arg);
kelvorn::unihanPropT fieldOf(pybind11::handle arg, FieldKind kind);


}  // namespace kelvorn_python

namespace pybind11 {
namespace detail {

template <>
struct type_caster<kelvorn_python::CodePoint> {
  PYBIND11_TYPE_CASTER(kelvorn_python::CodePoint, const_name("str | int"));
  bool load(handle src, bool /*convert*/) {
    value.value = kelvorn_python::codePointOf(src);
    return true;
  }
};

template <kelvorn_python::FieldKind Kind>
struct type_caster<kelvorn_python::FieldArg<Kind>> {
  PYBIND11_TYPE_CASTER(kelvorn_python::FieldArg<Kind>, const_name("str"));
  bool load(handle src, bool /*convert*/) {
    value.prop = kelvorn_python::fieldOf(src, Kind);
    return true;
  }
};

}  // namespace detail
}  // namespace pybind11

#endif  // KELVORN_PYTHON_ARGUMENTS_H
