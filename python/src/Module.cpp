// The extension module kelvorn_unihan._native. The package's __init__
// re-exports what it defines; docstrings here are what help() shows.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Loader.h"
#include "Unihan.h"

namespace py = pybind11;
using py::literals::operator""_a;

namespace kelvorn_python {
namespace {

// Created once at import and kept for the life of the process.
PyObject* hanYuType = nullptr;

py::str decoded(const std::string& bytes) {
  // The data is UTF-8; a text file that is not gets U+FFFD, not an exception.
  PyObject* text = PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()),
                                        "replace");
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

py::object character(int cp) {
  PyObject* text = PyUnicode_FromOrdinal(cp);
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(text);
}

py::list readingList(const std::vector<std::string>& values) {
  py::list out(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) out[i] = decoded(values[i]);
  return out;
}

[[noreturn]] void raiseLoadError(const LoadError& error, const std::string& shownAs) {
  if (error.errnum != 0) {
    // OSError(errno, ...) picks FileNotFoundError, IsADirectoryError,
    // PermissionError and the like from the number.
    PyErr_SetObject(PyExc_OSError,
                    py::make_tuple(error.errnum, error.message, shownAs).ptr());
    throw py::error_already_set();
  }
  throw py::value_error(shownAs + ": " + error.message);
}

std::unique_ptr<Unihan> openUnihan(const std::optional<py::object>& path) {
  const py::module_ os = py::module_::import("os");
  const py::object where =
      path ? *path : py::module_::import("kelvorn_unihan").attr("BUNDLED_IMAGE");
  const auto shownAs = os.attr("fsdecode")(where).cast<std::string>();
  const auto fsPath = os.attr("fsencode")(where).cast<std::string>();
  std::unique_ptr<Unihan> unihan;
  std::optional<LoadError> failure;
  {
    const py::gil_scoped_release unlocked;
    try {
      unihan = std::make_unique<Unihan>(fsPath, shownAs);
    } catch (const LoadError& error) {
      failure = error;
    }
  }
  if (failure) raiseLoadError(*failure, shownAs);
  return unihan;
}

SourcePreference preferenceOf(const std::vector<Source>& sources) {
  if (sources.size() > 6) {
    throw py::value_error("a source preference has at most six sources, got " +
                          std::to_string(sources.size()));
  }
  SourcePreference out;
  out.fill(kNoSource);
  for (std::size_t i = 0; i < sources.size(); ++i) out[i] = sources[i].prop;
  return out;
}

py::list preferenceNames(const SourcePreference& preference) {
  py::list out;
  for (const kelvorn::unihanPropT source : preference) {
    if (source != kNoSource) out.append(fieldName(source));
  }
  return out;
}

py::object hanYuTuple(const std::optional<HanYuPosition>& pos) {
  if (!pos) return py::none();
  return py::reinterpret_borrow<py::object>(hanYuType)(pos->volume, pos->page, pos->position,
                                                      pos->virtualFlag);
}

void defineHanYu(py::module_& m) {
  py::object type = py::module_::import("collections")
                        .attr("namedtuple")("HanYu", "volume page position virtual",
                                            "module"_a = "kelvorn_unihan");
  type.attr("__doc__") =
      "Position of a character in the HanYu Da Zidian: volume, page, position on the page, "
      "and virtual (0 for a real entry, 1 for a position the dictionary leaves empty).";
  m.attr("HanYu") = type;
  hanYuType = type.release().ptr();
}

constexpr const char* kClassDoc = R"doc(Per-character access to a loaded Unihan database.

Unihan() loads the image bundled with the package (Unicode 15.0); Unihan(path)
loads a binary image or a Unihan text file, told apart by the image's magic
bytes. A missing or unreadable file raises FileNotFoundError (or another
OSError); a file whose contents are refused raises ValueError.

Every query takes a character as a one-character str or an int code point and
answers None (or an empty list, or 0) when the data says nothing. Residual
strokes are signed as the data writes them (U+5DDC is 47.-1).

One Unihan may be queried from several threads at once; set_source_preference
waits for the object's other writers.)doc";

void defineQueries(py::class_<Unihan>& cls) {
  cls.def("total_strokes",
          [](Unihan& u, CodePoint c) { return u.totalStrokes(c.value); }, "char"_a,
          "The kTotalStrokes count, or None when the data has none.")
      .def("radical_stroke",
           [](Unihan& u, CodePoint c, Source source, int index) {
             return u.radicalStroke(c.value, source.prop, index);
           },
           "char"_a, "source"_a = "kRSUnicode", "index"_a = 0,
           R"doc((radical, residual strokes) of the value at `index` under one radical-stroke source,
or None.

source is kRSUnicode (index 1 is its second value, where there is one),
kRSKangXi, kRSKanWa, kRSKorean, kRSJapanese or kRSVantu_Japan1_6 (one value per
CID; the residual is the strokes the CID's glyph adds to the radical's form).
The residual may be negative: U+5DDC gives (47, -1).)doc")
      .def("preferred_radical_stroke",
           [](Unihan& u, CodePoint c) { return u.preferredRadicalStroke(c.value); }, "char"_a,
           R"doc((radical, strokes) from the first source in the preference order that has a value,
or None; see set_source_preference. As the C++ library answers it, the second
number is the residual strokes, except under kRSVantu_Japan1_6, where it is the
stroke count of the radical's form (漢 gives (85, 3) by default).)doc")
      .def("readings",
           [](Unihan& u, CodePoint c, ReadingField field) {
             return readingList(u.readings(c.value, field.prop));
           },
           "char"_a, "field"_a,
           "The values of a reading field (kMandarin, kHanyuPinlu, kJapaneseKun, kJapaneseOn)\n"
           "as the data writes them; [] when there are none.")
      .def("cid", [](Unihan& u, CodePoint c, int index) { return u.cid(c.value, index); },
           "char"_a, "index"_a = 0,
           "The CID of the character's kRSVantu_Japan1_6 value at `index`, or None.")
      .def("cid_strokes",
           [](Unihan& u, CodePoint c, int index) { return u.cidStrokes(c.value, index); },
           "char"_a, "index"_a = 0,
           "The stroke count of the glyph of the kRSVantu_Japan1_6 value at `index`, or None.")
      .def("char_for_cid",
           [](Unihan& u, long long cid) -> py::object {
             const std::optional<int> cp = u.charForCid(cid);
             return cp ? character(*cp) : py::none();
           },
           "cid"_a, "The character the data maps a CID to, or None.")
      .def("hanyu", [](Unihan& u, CodePoint c) { return hanYuTuple(u.hanYu(c.value)); },
           "char"_a,
           "The kHanYu position as a HanYu(volume, page, position, virtual), or None when\n"
           "the character has none.")
      .def("num_values",
           [](Unihan& u, CodePoint c, AnyField field) { return u.numValues(c.value, field.prop); },
           "char"_a, "field"_a,
           "How many values the data gives for a field (any of the twelve the library\n"
           "keeps); 0 for a character the data does not hold.");
}

void defineSettings(py::class_<Unihan>& cls) {
  cls.def("set_source_preference",
          [](Unihan& u, const std::vector<Source>& sources) {
            u.setSourcePreference(preferenceOf(sources));
          },
          "sources"_a,
          R"doc(Replace the order in which preferred_radical_stroke consults the radical-stroke
sources: up to six source names, first preferred first. The default is
["kRSVantu_Japan1_6", "kRSJapanese", "kRSKorean", "kRSKanWa", "kRSKangXi",
"kRSUnicode"].)doc")
      .def("source_preference",
           [](const Unihan& u) { return preferenceNames(u.sourcePreference()); },
           "The current source preference, first preferred first.");
}

void defineProtocol(py::class_<Unihan>& cls) {
  cls.def(py::init(&openUnihan), "path"_a = py::none(),
          "Load the bundled image, or the binary image or Unihan text file at `path`.")
      .def("__contains__", [](Unihan& u, CodePoint c) { return u.holds(c.value); }, "char"_a,
           "True when the data holds the character (it has at least one kept field).")
      .def_property_readonly("path", &Unihan::path, "The file the data was loaded from.")
      .def("__repr__", [](const Unihan& u) {
        return "<kelvorn_unihan.Unihan from " + py::repr(py::str(u.path())).cast<std::string>() +
               ">";
      });
}

}  // namespace
}  // namespace kelvorn_python

PYBIND11_MODULE(_native, m) {
  using namespace kelvorn_python;
  m.doc() = "Compiled part of kelvorn_unihan; use the kelvorn_unihan package.";
  defineHanYu(m);
  py::class_<Unihan> cls(m, "Unihan", kClassDoc);
  defineProtocol(cls);
  defineQueries(cls);
  defineSettings(cls);
}
