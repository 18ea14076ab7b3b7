// The extension module kelvorn_unihan._native. The package re-exports what it
// defines; the docstrings here are what help() shows.
#include <pybind11/pybind11.h>

#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "Bindings.h"
#include "app/files/BundledFiles.h"
#include "kelvorn/Utf8.h"

namespace {

constexpr const char* kClassDoc = R"doc(Per-character access to a loaded Unihan database.

Unihan() loads the image installed with the library (see UNICODE_VERSION);
Unihan(path)
loads a binary image or a Unihan text file, told apart by the image's magic
bytes. A missing or unreadable file raises FileNotFoundError (or another
OSError); a file whose contents are refused raises ValueError.

Every query takes a character as a one-character str or an int code point and
answers None (or an empty list, or 0) when the data says nothing. Residual
strokes are signed as the data writes them (U+5DDC is 47.-1).

The reverse lookups (code_points, by_radical, radical_entries, by_strokes,
by_reading, the sort keys, len() and iteration) answer from indexes built once,
on first use, without holding the interpreter lock.

A Unihan may be queried from several threads: queries only read the data, and
the two things that write (set_source_preference, building the indexes) wait
for each other.)doc";

}  // namespace

PYBIND11_MODULE(_native, m) {
  namespace py = pybind11;
  using namespace kelvorn_python;
  m.doc() = "Compiled part of kelvorn_unihan; use the kelvorn_unihan package.";
  // What the libraries refuse is a bad argument or datum to Python.
  // pybind11's translator type takes the pointer by value.
  // NOLINTNEXTLINE(performance-unnecessary-value-param)
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const kelvorn::Error& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    }
  });
  m.attr("UNICODE_VERSION") = KELVORN_UNICODE_VERSION;
  m.attr("BUNDLED_IMAGE_NAME") = KELVORN_IMAGE_NAME;
  m.attr("BUNDLED_FIELDS_IMAGE_NAME") = KELVORN_FIELDS_IMAGE_NAME;
  m.def(
      "bundled_path",
      [](const std::string& name) { return py::bytes(kelvorn_files::bundledFileGuess(name)); },
      py::arg("name"),
      "Where the file `name` installed with the libraries is (the C++ library's own search), "
      "or where it should have been; as bytes, for os.fsdecode.");
  m.def(
      "decode_utf8",
      [](const py::bytes& data) {
        const std::u32string chars = kelvorn::utf8::decode(std::string(data));
        return std::vector<int>(chars.begin(), chars.end());
      },
      py::arg("data"),
      "The code points of strict UTF-8 bytes; ValueError naming the first offending byte "
      "otherwise, as the library's C++ decoder does.");
  defineHanYu(m);
  UnihanClass cls(m, "Unihan", kClassDoc);
  defineProtocol(cls);
  defineQueries(cls);
  defineReverseLookups(cls);
  defineFields(cls);
  defineLexicon(cls);
}
