#include "Conversions.h"

#include <array>
#include <memory>

namespace py = pybind11;

namespace kelvorn_python {

namespace {

// The shared str objects, in pages of 256 code points made on first use (a
// page is 2 KB; the data's characters fill some 500 of them). They live as
// long as the process. Only touched with the interpreter lock held.
constexpr std::size_t kPageBits = 8;
constexpr std::size_t kPageSize = std::size_t{1} << kPageBits;
constexpr std::size_t kPageCount = 0x110000 >> kPageBits;

// A new reference to the shared str of cp, or nullptr with a Python error.
PyObject* sharedCharacter(char32_t cp) {
  static std::array<std::unique_ptr<PyObject*[]>, kPageCount> pages;
  if (cp >= 0x110000) return PyUnicode_FromOrdinal(static_cast<int>(cp));  // raises ValueError
  std::unique_ptr<PyObject*[]>& page = pages[cp >> kPageBits];
  if (!page) page = std::make_unique<PyObject*[]>(kPageSize);  // null pointers
  PyObject*& slot = page[cp & (kPageSize - 1)];
  if (slot == nullptr) {
    slot = PyUnicode_FromOrdinal(static_cast<int>(cp));
    if (slot == nullptr) return nullptr;
  }
  return Py_NewRef(slot);
}

}  // namespace

py::str character(char32_t cp) {
  PyObject* text = sharedCharacter(cp);
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

py::list characters(const std::vector<char32_t>& cps) {
  py::list out(cps.size());
  for (std::size_t i = 0; i < cps.size(); ++i) out[i] = character(cps[i]);
  return out;
}

PyObject* newCharacterTuple(const std::vector<char32_t>& cps) {
  PyObject* out = PyTuple_New(static_cast<Py_ssize_t>(cps.size()));
  if (out == nullptr) return nullptr;
  for (std::size_t i = 0; i < cps.size(); ++i) {
    PyObject* c = sharedCharacter(cps[i]);
    if (c == nullptr) {
      Py_DECREF(out);
      return nullptr;
    }
    PyTuple_SET_ITEM(out, static_cast<Py_ssize_t>(i), c);
  }
  return out;
}

py::tuple characterTuple(const std::vector<char32_t>& cps) {
  PyObject* out = newCharacterTuple(cps);
  if (out == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::tuple>(out);
}

py::str decoded(const std::string& bytes) {
  PyObject* text =
      PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "replace");
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

py::list decodedList(const std::vector<std::string>& values) {
  py::list out(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) out[i] = decoded(values[i]);
  return out;
}

}  // namespace kelvorn_python
