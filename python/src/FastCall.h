// Methods called straight through CPython's vectorcall protocol. A per-
// character query does a few nanoseconds of work in the core, and pybind11's
// general dispatcher costs several hundred more; the queries Python code calls
// in loops are therefore bound as plain METH_FASTCALL methods on the class.
#ifndef KELVORN_PYTHON_FASTCALL_H
#define KELVORN_PYTHON_FASTCALL_H

#include <pybind11/pybind11.h>

#include <array>
#include <cstddef>

#include "Unihan.h"

namespace kelvorn_python {

// The Unihan behind `self` (an instance of the class), or nullptr when its
// __init__ never ran or failed; sets no Python error.
Unihan* loadedUnihan(PyObject* self);

// The Unihan behind `self`, or nullptr with a Python error set (an object whose
// __init__ never ran or failed).
Unihan* unihanOf(PyObject* self);

// Sets a TypeError and returns false for an argument list that does not fit
// `names`, the first `required` of them without a default.
bool bindArguments(const char* method, const char* const* names, std::size_t count,
                   std::size_t required, PyObject* const* args, Py_ssize_t nargs,
                   PyObject* kwnames, PyObject** out);

// The arguments of one call, in parameter order; nullptr for one not given.
// Every fast method has at most five parameters.
class Arguments {
 public:
  static constexpr std::size_t kMaxCount = 5;

  template <std::size_t N>
  bool bind(const char* method, const std::array<const char*, N>& names, std::size_t required,
            PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    static_assert(N <= kMaxCount, "more parameters than a fast method takes");
    if (kwnames == nullptr && nargs >= static_cast<Py_ssize_t>(required) &&
        nargs <= static_cast<Py_ssize_t>(N)) {
      for (Py_ssize_t i = 0; i < nargs; ++i) values_[static_cast<std::size_t>(i)] = args[i];
      return true;
    }
    return bindArguments(method, names.data(), N, required, args, nargs, kwnames,
                         values_.data());
  }
  PyObject* operator[](std::size_t i) const { return values_[i]; }

 private:
  std::array<PyObject*, kMaxCount> values_{};
};

// A value index: an int, 0 or more. Sets a Python error and returns false
// otherwise; an index past int's range is kept as INT_MAX, which no list has.
bool toValueIndex(PyObject* arg, int* index);

// Sets the Python error that the exception being handled stands for. Call
// it only inside a catch block. Never throws, not even when handing the
// error over fails (pybind11 may throw there).
void setPythonErrorFromCurrent() noexcept;

// Runs a method body and turns a C++ exception into the Python error it
// stands for, since none may cross into the interpreter.
template <typename Body>
PyObject* guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    setPythonErrorFromCurrent();
  }
  return nullptr;
}

// Adds `def` (static storage) to the class as a method.
void addFastMethod(pybind11::handle cls, PyMethodDef* def);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_FASTCALL_H
