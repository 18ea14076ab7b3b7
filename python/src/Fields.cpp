// Every Unihan field, not only the twelve the core keeps: field(), fields()
// and field_names(), answered from the all-field store. field() goes through
// the fast path, as the other per-character queries do.
#include <pybind11/stl.h>

#include <array>
#include <string>
#include <string_view>

#include "Arguments.h"
#include "Bindings.h"
#include "FastCall.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

PyObject* newStr(std::string_view value) {
  // The store keeps values byte for byte; one that is not UTF-8 is shown
  // with replacement characters rather than refused.
  return PyUnicode_DecodeUTF8(value.data(), static_cast<Py_ssize_t>(value.size()), "replace");
}

constexpr std::array<const char*, 2> kCharName = {"char", "name"};

PyObject* field(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    int cp = 0;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("field", kCharName, 2, args, nargs, kw) ||
        !toCodePoint(a[0], &cp)) {
      return nullptr;
    }
    if (!PyUnicode_Check(a[1])) {
      PyErr_Format(PyExc_TypeError, "expected a field name (str), got %s",
                   Py_TYPE(a[1])->tp_name);
      return nullptr;
    }
    Py_ssize_t size = 0;
    const char* name = PyUnicode_AsUTF8AndSize(a[1], &size);
    if (name == nullptr) return nullptr;
    const auto value = u->fields().value(static_cast<char32_t>(cp),
                                         std::string_view(name, static_cast<std::size_t>(size)));
    if (!value) Py_RETURN_NONE;
    return newStr(*value);
  });
}

py::dict allFields(Unihan& u, CodePoint c) {
  py::dict out;
  for (const kelvorn::FieldValue& fv : u.fields().fields(static_cast<char32_t>(c.value))) {
    out[py::reinterpret_steal<py::object>(newStr(fv.field))] =
        py::reinterpret_steal<py::object>(newStr(fv.value));
  }
  return out;
}

std::vector<std::string> fieldNames(Unihan& u) {
  std::vector<std::string> names;
  for (const std::string_view name : u.fields().fieldNames()) names.emplace_back(name);
  return names;
}

constexpr int kFastFlags = METH_FASTCALL | METH_KEYWORDS;

PyMethodDef fieldMethod = {
    "field", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&field)), kFastFlags,
    "field(self, char: str | int, name: str) -> Optional[str]\n\n"
    "The raw value of any Unihan field (kDefinition, kCantonese, kHanyuPinlu, ...)\n"
    "as the data writes it, or None when the character has none."};

}  // namespace

void defineFields(UnihanClass& cls) {
  addFastMethod(cls, &fieldMethod);
  cls.def("fields", &allFields, py::arg("char"),
          "Every field of the character and its raw value, in field-name order.")
      .def("field_names", &fieldNames, "The names of every field the data has, in byte order.");
}

}  // namespace kelvorn_python
