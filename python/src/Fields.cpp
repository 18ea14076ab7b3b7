// Every Unihan field, not only the twelve the core keeps: field(), fields()
// and field_names(), answered from the all-field store, raw or expanded.
// field() goes through the fast path, as the other per-character queries do.
#include <pybind11/stl.h>

#include <array>
#include <string>
#include <string_view>

#include "Arguments.h"
#include "Bindings.h"
#include "FastCall.h"
#include "FieldValues.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

constexpr std::array<const char*, 3> kFieldParameters = {"char", "name", "expand"};

// The optional `expand` argument: absent is false; a bool, or an int by its
// truth value, as fields() takes it through pybind11. False with a
// TypeError set for anything else.
bool toExpand(PyObject* arg, bool* expand) {
  *expand = false;
  if (arg == nullptr) return true;
  if (!PyLong_Check(arg)) {  // bool is a subclass of int
    PyErr_Format(PyExc_TypeError, "expected a bool for expand, got %s", Py_TYPE(arg)->tp_name);
    return false;
  }
  *expand = PyObject_IsTrue(arg) == 1;
  return true;
}

}  // namespace

std::size_t knownField(const kelvorn::UnihanFields& fields, std::string_view name) {
  try {
    return fields.requireField(name);
  } catch (const kelvorn::FieldsError& e) {
    throw py::value_error(e.what());  // "no field kdefinition ...; did you mean kDefinition?"
  }
}

namespace {

PyObject* field(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    int cp = 0;
    bool expand = false;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("field", kFieldParameters, 2, args, nargs, kw) ||
        !toCodePoint(a[0], &cp) || !toExpand(a[2], &expand)) {
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
    const std::string_view field(name, static_cast<std::size_t>(size));
    const auto value = u->fields().valueAt(static_cast<char32_t>(cp), knownField(u->fields(), field));
    if (!value) Py_RETURN_NONE;
    return expand ? newFieldValue(field, *value, true) : newStr(*value);
  });
}

// A reference that owns a new object, or throws the Python error that
// left it null.
py::object owned(PyObject* object) {
  if (object == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(object);
}

py::dict allFields(Unihan& u, CodePoint c, bool expand) {
  py::dict out;
  for (const kelvorn::FieldValue& fv : u.fields().fields(static_cast<char32_t>(c.value))) {
    out[owned(newStr(fv.field))] = owned(newFieldValue(fv.field, fv.value, expand));
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
    "field(self, char: str | int, name: str, expand: bool = False) -> Optional[Any]\n\n"
    "The raw value of any Unihan field (kDefinition, kCantonese, kHanyuPinlu, ...)\n"
    "as the data writes it, or None when the character has none; ValueError naming\n"
    "the nearest field for a name the data does not have. With expand=True\n"
    "a structured field (kRSUnicode, kHanyuPinyin, kHanYu, kIRG_GSource, ...) comes\n"
    "as lists, dicts and ints; other fields, and a value its grammar does not\n"
    "match, stay a str."};

}  // namespace

void defineFields(UnihanClass& cls) {
  addFastMethod(cls, &fieldMethod);
  cls.def("fields", &allFields, py::arg("char"), py::arg("expand") = false,
          "Every field of the character and its raw value, in field-name order;\n"
          "with expand=True the structured fields expanded as field() does.")
      .def("field_names", &fieldNames, "The names of every field the data has, in byte order.");
}

}  // namespace kelvorn_python
