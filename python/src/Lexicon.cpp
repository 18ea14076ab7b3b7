// Questions across characters, answered by the lexicon over the all-field
// store: variants(), script_class(), to_simplified() / to_traditional(),
// search() and chars_with().
//
// Conversion works on the str's own storage (one, two or four bytes a
// character) through the lexicon's dense table, so it never encodes to UTF-8
// and back. search() and chars_with() answer tuples of str that are kept per
// question: asked again, they are one or two dict lookups.
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "Arguments.h"
#include "Bindings.h"
#include "Conversions.h"
#include "FastCall.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

// ---- conversion ------------------------------------------------------------

template <typename In>
Py_UCS4 largestOutput(const In* in, Py_ssize_t n, std::u32string_view table, bool* changed) {
  Py_UCS4 largest = 0;
  bool any = false;
  for (Py_ssize_t i = 0; i < n; ++i) {
    const char32_t c = in[i];
    const char32_t to = c < table.size() ? table[c] : c;
    any |= to != c;
    largest = std::max<Py_UCS4>(largest, to);
  }
  *changed = any;
  return largest;
}

template <typename In, typename Out>
void convertInto(const In* in, Py_ssize_t n, std::u32string_view table, Out* out) {
  for (Py_ssize_t i = 0; i < n; ++i) {
    const char32_t c = in[i];
    out[i] = static_cast<Out>(c < table.size() ? table[c] : c);
  }
}

template <typename In>
void convertIntoKind(const In* in, Py_ssize_t n, std::u32string_view table, PyObject* out) {
  void* data = PyUnicode_DATA(out);
  switch (PyUnicode_KIND(out)) {
    case PyUnicode_1BYTE_KIND:
      return convertInto(in, n, table, static_cast<Py_UCS1*>(data));
    case PyUnicode_2BYTE_KIND:
      return convertInto(in, n, table, static_cast<Py_UCS2*>(data));
    default:
      return convertInto(in, n, table, static_cast<Py_UCS4*>(data));
  }
}

// A new str of the converted text, or the same str when nothing changes.
template <typename In>
PyObject* convertText(PyObject* text, const In* in, std::u32string_view table) {
  const Py_ssize_t n = PyUnicode_GET_LENGTH(text);
  bool changed = false;
  // The exact largest character decides the new str's storage, as CPython
  // requires of every str.
  const Py_UCS4 largest = largestOutput(in, n, table, &changed);
  // An exact str is immutable and can be handed back; a subclass's
  // instance becomes a plain str, as str's own methods answer.
  if (!changed) return PyUnicode_CheckExact(text) ? Py_NewRef(text) : PyUnicode_FromObject(text);
  PyObject* out = PyUnicode_New(n, largest);
  if (out == nullptr) return nullptr;
  convertIntoKind(in, n, table, out);
  return out;
}

PyObject* convertStr(PyObject* text, std::u32string_view table) {
  const void* data = PyUnicode_DATA(text);
  switch (PyUnicode_KIND(text)) {
    case PyUnicode_1BYTE_KIND:
      return convertText(text, static_cast<const Py_UCS1*>(data), table);
    case PyUnicode_2BYTE_KIND:
      return convertText(text, static_cast<const Py_UCS2*>(data), table);
    default:
      return convertText(text, static_cast<const Py_UCS4*>(data), table);
  }
}

// A str's UTF-8 form, in which a lone surrogate, which has none, is written
// '?': like '?', it is no letter of a gloss and has no variant, so a text
// holding one is answered as text holding any other such character, by
// to_simplified and search alike. One character stays one character, so
// positions counted in the UTF-8 form index the str.
std::string utf8Lenient(PyObject* text) {
  Py_ssize_t size = 0;
  if (const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size)) {
    return {utf8, static_cast<std::size_t>(size)};
  }
  PyErr_Clear();
  const auto bytes =
      py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(text, "utf-8", "replace"));
  if (!bytes) throw py::error_already_set();
  return {PyBytes_AS_STRING(bytes.ptr()), static_cast<std::size_t>(PyBytes_GET_SIZE(bytes.ptr()))};
}

// (text, [(position, char, [candidates])]): positions index the str. The text
// is converted from the str itself, so that a lone surrogate stays as it was.
PyObject* convertReporting(Unihan& u, PyObject* text, kelvorn::Script to,
                           std::u32string_view table) {
  const kelvorn::Conversion converted = u.lexicon().convertReporting(utf8Lenient(text), to);
  py::list ambiguous(converted.ambiguous.size());
  for (std::size_t i = 0; i < converted.ambiguous.size(); ++i) {
    const kelvorn::AmbiguousChar& a = converted.ambiguous[i];
    ambiguous[i] = py::make_tuple(a.index, character(a.codePoint), characters(a.candidates));
  }
  const auto whole = py::reinterpret_steal<py::object>(convertStr(text, table));
  if (!whole) return nullptr;
  return py::make_tuple(whole, ambiguous).release().ptr();
}

// The first conversion in each direction of a short text converts its UTF-8
// form, which the library answers without building its table; a str with a
// lone surrogate, which has no UTF-8 form, goes through the table. Nothing
// when the table is to be used.
std::optional<py::object> convertedWithoutTable(Unihan& u, PyObject* text, kelvorn::Script to) {
  constexpr Py_ssize_t kShortText = 1024;  // as the library's own first conversion
  if (u.convertedBefore(to)) return std::nullopt;
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size);
  if (utf8 == nullptr) PyErr_Clear();
  if (utf8 == nullptr || size > kShortText) return std::nullopt;
  const std::string_view in(utf8, static_cast<std::size_t>(size));
  const kelvorn::UnihanLexicon& lexicon = u.lexicon();
  std::string out;
  {
    const py::gil_scoped_release unlocked;
    out = lexicon.convert(in, to);
  }
  // Unchanged, the same str, as convertText hands it back.
  if (out == in) {
    return py::reinterpret_steal<py::object>(PyUnicode_CheckExact(text) ? Py_NewRef(text)
                                                                        : PyUnicode_FromObject(text));
  }
  PyObject* converted = PyUnicode_DecodeUTF8(out.data(), static_cast<Py_ssize_t>(out.size()), "strict");
  if (converted == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(converted);
}

constexpr std::array<const char*, 2> kConvertArgs = {"text", "ambiguous"};

PyObject* convertMethod(const char* name, kelvorn::Script to, PyObject* self, PyObject* const* args,
                        Py_ssize_t nargs, PyObject* kw) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind(name, kConvertArgs, 1, args, nargs, kw)) return nullptr;
    if (!PyUnicode_Check(a[0])) {
      PyErr_Format(PyExc_TypeError, "expected str, got %s", Py_TYPE(a[0])->tp_name);
      return nullptr;
    }
    const int reporting = a[1] == nullptr ? 0 : PyObject_IsTrue(a[1]);
    if (reporting < 0) return nullptr;
    if (reporting == 0) {
      if (std::optional<py::object> converted = convertedWithoutTable(*u, a[0], to)) {
        return converted->release().ptr();
      }
    }
    const kelvorn::UnihanLexicon& lexicon = u->lexicon();
    std::u32string_view table;
    {
      // The first call builds the table.
      const py::gil_scoped_release unlocked;
      table = lexicon.conversionTable(to);
    }
    if (reporting != 0) return convertReporting(*u, a[0], to, table);
    return convertStr(a[0], table);
  });
}

PyObject* toSimplified(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return convertMethod("to_simplified", kelvorn::Script::kSimplified, self, args, nargs, kw);
}

PyObject* toTraditional(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return convertMethod("to_traditional", kelvorn::Script::kTraditional, self, args, nargs, kw);
}

// ---- search and chars_with -------------------------------------------------

std::string_view utf8Of(PyObject* text) {
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size);
  if (utf8 == nullptr) throw py::error_already_set();
  return {utf8, static_cast<std::size_t>(size)};
}

// The query as one text: a str, or the words of a list or tuple of str.
std::string queryOf(PyObject* words) {
  if (PyUnicode_Check(words)) return utf8Lenient(words);
  if (!PyList_Check(words) && !PyTuple_Check(words)) {
    throw py::type_error(std::string("expected str or a list of str, got ") +
                         Py_TYPE(words)->tp_name);
  }
  std::string query;
  const py::sequence items = py::reinterpret_borrow<py::sequence>(words);
  for (const py::handle item : items) {
    if (!PyUnicode_Check(item.ptr())) {
      throw py::type_error(std::string("expected str among the words, got ") +
                           Py_TYPE(item.ptr())->tp_name);
    }
    query.append(utf8Lenient(item.ptr())).push_back(' ');
  }
  return query;
}

std::vector<char32_t> searchWithoutLock(const kelvorn::UnihanLexicon& lexicon,
                                        const std::string& query) {
  const py::gil_scoped_release unlocked;  // the first search builds the index
  return lexicon.search(query);
}

// A one-word query is kept by its word (lowercased), so the cache holds at
// most one tuple per word of the data; other queries are answered afresh.
PyObject* search(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  static constexpr std::array<const char*, 1> kNames = {"words"};
  return guarded([&]() -> PyObject* {
    Arguments a;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("search", kNames, 1, args, nargs, kw)) return nullptr;
    const std::string query = queryOf(a[0]);
    const std::vector<std::string> words = kelvorn::UnihanLexicon::glossWords(query);
    if (words.size() != 1) return newCharacterTuple(searchWithoutLock(u->lexicon(), query));
    py::dict cache = u->searchCache();
    const py::str key(words[0]);
    if (PyObject* hit = PyDict_GetItemWithError(cache.ptr(), key.ptr())) return Py_NewRef(hit);
    if (PyErr_Occurred()) return nullptr;
    const std::vector<char32_t> found = searchWithoutLock(u->lexicon(), query);
    PyObject* answer = newCharacterTuple(found);
    if (answer != nullptr && !found.empty() && PyDict_SetItem(cache.ptr(), key.ptr(), answer) < 0) {
      Py_DECREF(answer);
      return nullptr;
    }
    return answer;
  });
}

// A message ends at a NUL byte on its way into Python, so a name holding one
// is shown as Python writes it.
std::string shownName(PyObject* field, std::string_view name) {
  if (name.find('\0') == std::string_view::npos) return std::string(name);
  return py::repr(py::handle(field)).cast<std::string>();
}

PyObject* charsWithMiss(Unihan& u, PyObject* field, PyObject* value, bool keep) {
  const std::string_view name = utf8Of(field);
  const kelvorn::UnihanLexicon& lexicon = u.lexicon();
  // The nearest-name message would end at the NUL on its way into Python.
  if (name.find('\0') != std::string_view::npos) {
    throw py::value_error("no field " + shownName(field, name) + " in the data");
  }
  (void)knownField(lexicon.fields(), name);
  const std::string_view wanted = utf8Of(value);
  const std::vector<char32_t>* found = nullptr;
  {
    const py::gil_scoped_release unlocked;  // the field's first lookup builds its index
    found = &lexicon.charsWith(name, wanted);
  }
  PyObject* answer = newCharacterTuple(*found);
  if (answer == nullptr || found->empty() || !keep) return answer;
  // Only values the data has are kept, so the cache cannot outgrow the data.
  py::dict cache = u.charsWithCache();
  PyObject* values = PyDict_GetItemWithError(cache.ptr(), field);
  if (values == nullptr) {
    if (PyErr_Occurred()) return nullptr;
    const py::dict fresh;
    if (PyDict_SetItem(cache.ptr(), field, fresh.ptr()) < 0) return nullptr;
    values = fresh.ptr();  // the cache holds it now
  }
  if (PyDict_SetItem(values, value, answer) < 0) {
    Py_DECREF(answer);
    return nullptr;
  }
  return answer;
}

PyObject* charsWith(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  static constexpr std::array<const char*, 2> kNames = {"field", "value"};
  return guarded([&]() -> PyObject* {
    Arguments a;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("chars_with", kNames, 2, args, nargs, kw)) return nullptr;
    for (std::size_t i = 0; i < 2; ++i) {
      if (!PyUnicode_Check(a[i])) {
        PyErr_Format(PyExc_TypeError, "expected a %s (str), got %s", kNames[i],
                     Py_TYPE(a[i])->tp_name);
        return nullptr;
      }
    }
    // Only exact str keys the cache: a subclass may compare or hash its own
    // way, so its questions are answered afresh.
    const bool cacheable = PyUnicode_CheckExact(a[0]) && PyUnicode_CheckExact(a[1]);
    if (!cacheable) return charsWithMiss(*u, a[0], a[1], false);
    // The hit path: two dict lookups with the str objects as they came.
    if (PyObject* values = PyDict_GetItemWithError(u->charsWithCache().ptr(), a[0])) {
      if (PyObject* hit = PyDict_GetItemWithError(values, a[1])) return Py_NewRef(hit);
    }
    if (PyErr_Occurred()) return nullptr;
    return charsWithMiss(*u, a[0], a[1], true);
  });
}

// ---- variants ----------------------------------------------------------------

py::dict variants(Unihan& u, CodePoint c) {
  py::dict out;
  for (const kelvorn::Variant& v : u.lexicon().variants(static_cast<char32_t>(c.value))) {
    const py::str field(std::string(v.field));
    if (!out.contains(field)) out[field] = py::list();
    py::list sources;
    for (const std::string_view s : v.sources) sources.append(py::str(std::string(s)));
    py::list(out[field]).append(py::make_tuple(character(v.codePoint), sources));
  }
  return out;
}

const char* scriptClass(Unihan& u, CodePoint c) {
  return kelvorn::scriptClassName(u.lexicon().scriptClass(static_cast<char32_t>(c.value)));
}

constexpr int kFastFlags = METH_FASTCALL | METH_KEYWORDS;

template <auto Method>
PyCFunction fast() {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(Method));
}

PyMethodDef toSimplifiedMethod = {
    "to_simplified", fast<&toSimplified>(), kFastFlags,
    "to_simplified(self, text: str, ambiguous: bool = False) -> str | tuple[str, list]\n\n"
    "The text with each character that has a kSimplifiedVariant other than itself\n"
    "replaced by the first one listed; everything else as it was. Character by\n"
    "character: one-to-many forms need words, which this does not know.\n"
    "ambiguous=True answers (text, [(position, char, [candidates])]) for the\n"
    "characters whose field listed several."};

PyMethodDef toTraditionalMethod = {
    "to_traditional", fast<&toTraditional>(), kFastFlags,
    "to_traditional(self, text: str, ambiguous: bool = False) -> str | tuple[str, list]\n\n"
    "to_simplified's counterpart, through kTraditionalVariant: 发 becomes 發\n"
    "(the first of 發 and 髮)."};

PyMethodDef searchMethod = {
    "search", fast<&search>(), kFastFlags,
    "search(self, words: str | list[str]) -> tuple[str, ...]\n\n"
    "The characters whose kDefinition has every word, in code-point order. A word\n"
    "is a run of ASCII letters, compared without case; no word finds nothing."};

PyMethodDef charsWithMethod = {
    "chars_with", fast<&charsWith>(), kFastFlags,
    "chars_with(self, field: str, value: str) -> tuple[str, ...]\n\n"
    "The characters that have `value` as one of the field's space-separated values,\n"
    "exactly, in code-point order. ValueError for a field the data does not have.\n"
    "The tuple is kept and answered again for the same question."};

}  // namespace

void defineLexicon(UnihanClass& cls) {
  addFastMethod(cls, &toSimplifiedMethod);
  addFastMethod(cls, &toTraditionalMethod);
  addFastMethod(cls, &searchMethod);
  addFastMethod(cls, &charsWithMethod);
  cls.def("variants", &variants, py::arg("char"),
          "Every variant field of the character: {field: [(char, [sources])]}, fields in\n"
          "the order kSimplifiedVariant, kTraditionalVariant, kSemanticVariant,\n"
          "kSpecializedSemanticVariant, kZVariant, kSpoofingVariant, kCompatibilityVariant;\n"
          "sources are the raw tags, such as 'kMatthews:T'.")
      .def("script_class", &scriptClass, py::arg("char"),
           "'simplified', 'traditional', 'both' or 'neither' (see docs/lexicon.md).");
}

}  // namespace kelvorn_python
