#include "Conversions.h"

namespace py = pybind11;

namespace kelvorn_python {

py::str character(char32_t cp) {
  PyObject* text = PyUnicode_FromOrdinal(static_cast<int>(cp));
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

py::list characters(const std::vector<char32_t>& cps) {
  py::list out(cps.size());
  for (std::size_t i = 0; i < cps.size(); ++i) out[i] = character(cps[i]);
  return out;
}

py::tuple characterTuple(const std::vector<char32_t>& cps) {
  py::tuple out(cps.size());
  for (std::size_t i = 0; i < cps.size(); ++i) out[i] = character(cps[i]);
  return out;
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
