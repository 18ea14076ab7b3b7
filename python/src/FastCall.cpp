#include "FastCall.h"

#include <climits>
#include <exception>
#include <new>
#include <typeinfo>

#include "kelvorn/Error.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

int parameterIndex(PyObject* keyword, const char* const* names, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (PyUnicode_CompareWithASCIIString(keyword, names[i]) == 0) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

Unihan* loadedUnihan(PyObject* self) {
  static const py::detail::type_info* const type = py::detail::get_type_info(typeid(Unihan));
  auto* instance = reinterpret_cast<py::detail::instance*>(self);
  const py::detail::value_and_holder held = instance->get_value_and_holder(type, false);
  return held && held.holder_constructed() ? held.value_ptr<Unihan>() : nullptr;
}

Unihan* unihanOf(PyObject* self) {
  Unihan* loaded = loadedUnihan(self);
  if (loaded == nullptr) {
    PyErr_SetString(PyExc_TypeError, "this Unihan was never loaded (its __init__ did not run)");
  }
  return loaded;
}

bool bindArguments(const char* method, const char* const* names, std::size_t count,
                   std::size_t required, PyObject* const* args, Py_ssize_t nargs,
                   PyObject* kwnames, PyObject** out) {
  if (nargs > static_cast<Py_ssize_t>(count)) {
    PyErr_Format(PyExc_TypeError, "%s() takes at most %zu arguments (%zd given)", method, count,
                 nargs);
    return false;
  }
  for (Py_ssize_t i = 0; i < nargs; ++i) out[i] = args[i];
  const Py_ssize_t keywords = kwnames == nullptr ? 0 : PyTuple_GET_SIZE(kwnames);
  for (Py_ssize_t k = 0; k < keywords; ++k) {
    PyObject* keyword = PyTuple_GET_ITEM(kwnames, k);
    const int at = parameterIndex(keyword, names, count);
    if (at < 0) {
      PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument %R", method,
                   keyword);
      return false;
    }
    if (out[at] != nullptr) {
      PyErr_Format(PyExc_TypeError, "%s() got multiple values for argument '%s'", method,
                   names[at]);
      return false;
    }
    out[at] = args[nargs + k];
  }
  for (std::size_t i = 0; i < required; ++i) {
    if (out[i] == nullptr) {
      PyErr_Format(PyExc_TypeError, "%s() missing required argument '%s'", method, names[i]);
      return false;
    }
  }
  return true;
}

bool toValueIndex(PyObject* arg, int* index) {
  if (!PyLong_Check(arg)) {
    PyErr_Format(PyExc_TypeError, "a value index must be an int, got %s", Py_TYPE(arg)->tp_name);
    return false;
  }
  int overflow = 0;
  const long value = PyLong_AsLongAndOverflow(arg, &overflow);
  if (value == -1 && PyErr_Occurred() != nullptr) return false;
  if (overflow > 0 || value > INT_MAX) {
    *index = INT_MAX;
    return true;
  }
  if (overflow < 0 || value < 0) {
    PyErr_SetString(PyExc_ValueError, "a value index must not be negative");
    return false;
  }
  *index = static_cast<int>(value);
  return true;
}

void setPythonErrorFromCurrent() noexcept {
  try {
    throw;
  } catch (py::error_already_set& e) {
    try {
      e.restore();
    } catch (...) {
      PyErr_SetString(PyExc_SystemError, "a Python error was lost on its way back");
    }
  } catch (const py::builtin_exception& e) {
    try {
      e.set_error();
    } catch (...) {
      PyErr_SetString(PyExc_SystemError, e.what());
    }
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const kelvorn::Error& e) {
    // A refused argument or datum, as ValueError everywhere in the module.
    PyErr_SetString(PyExc_ValueError, e.what());
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  } catch (...) {
    PyErr_SetString(PyExc_SystemError, "an unknown C++ exception");
  }
}

void addFastMethod(py::handle cls, PyMethodDef* def) {
  PyObject* descriptor = PyDescr_NewMethod(reinterpret_cast<PyTypeObject*>(cls.ptr()), def);
  if (descriptor == nullptr) throw py::error_already_set();
  cls.attr(def->ml_name) = py::reinterpret_steal<py::object>(descriptor);
}

}  // namespace kelvorn_python
