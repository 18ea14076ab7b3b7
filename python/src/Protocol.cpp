// Making a Unihan: loading without the interpreter lock, and turning load
// failures into the exceptions Python code expects.
#include <memory>
#include <optional>
#include <string>

#include "Arguments.h"
#include "Bindings.h"
#include "Conversions.h"
#include "Loader.h"
#include "TypedObject.h"
#include "app/files/PathCheck.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

[[noreturn]] void raiseLoadError(const LoadError& error, const std::string& shownAs) {
  if (error.errnum != 0) {
    // OSError(errno, ...) picks FileNotFoundError, IsADirectoryError,
    // PermissionError and the like from the number.
    // The error is set as the instance that picks, so that it is the same
    // exception when it passes through the __init__ wrapper.
    const py::object raised =
        py::reinterpret_borrow<py::object>(PyExc_OSError)(error.errnum, error.message, shownAs);
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(raised.ptr())), raised.ptr());
    throw py::error_already_set();
  }
  throw py::value_error(shownAs + ": " + error.message);
}

std::unique_ptr<Unihan> openUnihan(const Typed<OptionalPath>& path,
                                   const Typed<OptionalPath>& fields) {
  const py::module_ os = py::module_::import("os");
  const py::module_ package = py::module_::import("kelvorn_unihan");
  const bool bundled = path.object.is_none();
  const py::object where = bundled ? package.attr("BUNDLED_IMAGE") : path.object;
  // Every field of the bundled data comes from the all-field image beside it.
  const py::object fieldsWhere = !fields.object.is_none() ? fields.object
                                 : bundled ? package.attr("BUNDLED_FIELDS_IMAGE")
                                           : py::object(py::str(""));
  const auto fieldsPath = os.attr("fsencode")(fieldsWhere).cast<std::string>();
  // A path that is not UTF-8 decodes with surrogates, which a message shows
  // escaped.
  const auto shownAs =
      os.attr("fsdecode")(where).attr("encode")("utf-8", "backslashreplace").cast<std::string>();
  const auto fsPath = os.attr("fsencode")(where).cast<std::string>();
  // Refused here with the library's words, which a Python message would
  // otherwise end at the NUL.
  for (const std::string* given : {&fsPath, &fieldsPath}) {
    if (auto problem = kelvorn_files::inputPathProblem(*given)) throw py::value_error(*problem);
  }
  std::unique_ptr<Unihan> unihan;
  std::optional<LoadError> failure;
  {
    const py::gil_scoped_release unlocked;
    try {
      unihan = std::make_unique<Unihan>(fsPath, shownAs, fieldsPath,
                                        bundled && fields.object.is_none());
    } catch (const LoadError& error) {
      failure = error;
    }
  }
  if (failure) raiseLoadError(*failure, shownAs);
  return unihan;
}

std::string repr(const Unihan& u) {
  return "<kelvorn_unihan.Unihan from " + py::repr(py::str(u.path())).cast<std::string>() + ">";
}

// pybind11 passes over a second __init__ of a loaded object without a word,
// so Unihan(a).__init__(b) would keep answering from a; it is refused.
void refuseSecondInit(UnihanClass& cls) {
  const py::object load = cls.attr("__init__");
  cls.attr("__init__") = py::cpp_function(
      [load](const py::handle self, const py::args& args, const py::kwargs& kwargs) {
        if (py::isinstance<Unihan>(self) && loadedUnihan(self.ptr()) != nullptr) {
          throw py::type_error(
              "this Unihan is loaded already; make a new Unihan to load other data");
        }
        load(self, *args, **kwargs);
      },
      py::is_method(cls), py::name("load"), py::doc(load.attr("__doc__").cast<std::string>().c_str()));
}

}  // namespace

void defineProtocol(UnihanClass& cls) {
  cls.def(py::init(&openUnihan), py::arg("path") = py::none(), py::arg("fields") = py::none(),
          "Load the bundled image, or the binary image or Unihan text file at `path`.\n\n"
          "`fields` names where field() and fields() find every Unihan field: an\n"
          "all-field image or Unihan text. By default the bundled data uses the\n"
          "all-field image beside it, and Unihan text loaded by `path` gives its\n"
          "fields from the bytes that the load read.")
      .def_property_readonly("path", &Unihan::path, "The file the data was loaded from.")
      .def("__repr__", &repr)
      .def("__contains__", [](Unihan& u, CodePoint c) { return u.holds(c.value); }, py::arg("char"),
           "True when the data holds the character (it has at least one kept field).")
      .def("__len__", [](Unihan& u) { return u.index().codePoints().size(); },
           "The number of characters the data holds.")
      .def("__iter__",
           [](Unihan& u) {
             return Typed<IteratorOfStr>(characters(u.index().codePoints()).attr("__iter__")());
           },
           "The characters the data holds, in code-point order.");
  refuseSecondInit(cls);
}

}  // namespace kelvorn_python
