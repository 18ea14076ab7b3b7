// Lookups by radical, strokes and reading, and the sort keys, answered by the
// companion index library.
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "Arguments.h"
#include "Bindings.h"
#include "Conversions.h"
#include "FastCall.h"
#include "TypedObject.h"
#include "index/saved/SavedIndex.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

constexpr int kLastRadical = 214;

void requireRadical(int radical) {
  if (radical < 1 || radical > kLastRadical) {
    throw py::value_error("radical must be 1 to 214, got " + std::to_string(radical));
  }
}

// The sort key of a str (any length) or of one character given as a str or
// an int: the index's byte string, so that sorted() compares keys with one
// memcmp and no per-character work.
PyObject* sortKeyOf(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw,
                    const char* method, kelvorn::SortOrder order) {
  return guarded([&]() -> PyObject* {
    static constexpr std::array<const char*, 1> kParams = {"text"};
    Arguments a;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind(method, kParams, 1, args, nargs, kw)) return nullptr;
    const kelvorn::UnihanIndex& index = u->index();
    PyObject* text = a[0];
    // Characters go to the index in pieces from the stack, and a word's key
    // fits std::string's inline buffer: a short word allocates nothing but
    // the bytes object.
    std::string key;
    std::array<char32_t, 64> piece{};
    if (!PyUnicode_Check(text)) {
      piece[0] = static_cast<char32_t>(codePointOf(py::handle(text)));
      index.appendSortKey(std::u32string_view(piece.data(), 1), order, &key);
    } else {
      const Py_ssize_t length = PyUnicode_GET_LENGTH(text);
      const int kind = PyUnicode_KIND(text);
      const void* data = PyUnicode_DATA(text);
      for (Py_ssize_t start = 0; start < length;) {
        std::size_t n = 0;
        for (; n < piece.size() && start < length; ++n, ++start) {
          piece[n] = static_cast<char32_t>(PyUnicode_READ(kind, data, start));
        }
        index.appendSortKey(std::u32string_view(piece.data(), n), order, &key);
      }
    }
    return PyBytes_FromStringAndSize(key.data(), static_cast<Py_ssize_t>(key.size()));
  });
}

PyObject* radicalStrokeKey(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return sortKeyOf(self, args, nargs, kw, "radical_stroke_key", kelvorn::SortOrder::kRadicalStroke);
}

PyObject* totalStrokesKey(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return sortKeyOf(self, args, nargs, kw, "total_strokes_key", kelvorn::SortOrder::kTotalStrokes);
}

PyMethodDef radicalStrokeKeyMethod = {
    "radical_stroke_key",
    reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&radicalStrokeKey)),
    METH_FASTCALL | METH_KEYWORDS,
    "radical_stroke_key(self, text: str | int) -> bytes\n\n"
    "A sort key in radical-stroke order for a str (any length) or one character\n"
    "(str or int): bytes, three a character, so that sorted(words,\n"
    "key=u.radical_stroke_key) is the Unihan collation's order of strings of Han\n"
    "characters: radical, its simplified form (120') after it, residual strokes\n"
    "(a negative residual as 0), the main block before the extensions, code point;\n"
    "a compatibility ideograph as the character it is canonically equivalent to.\n"
    "Characters without kRSUnicode sort after all others, by code point; a prefix\n"
    "sorts first."};

PyMethodDef totalStrokesKeyMethod = {
    "total_strokes_key",
    reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&totalStrokesKey)),
    METH_FASTCALL | METH_KEYWORDS,
    "total_strokes_key(self, text: str | int) -> bytes\n\n"
    "A sort key in total-strokes order, like radical_stroke_key: per character its\n"
    "kTotalStrokes (none last), then the radical-stroke order; five bytes a\n"
    "character."};

// The whole page, or with `marks` the part of kRSUnicode's page whose values
// carry that many apostrophes (1: the simplified radical, 120').
std::vector<kelvorn::RadicalEntry> pageOf(Unihan& u, int radical, Source source,
                                          std::optional<int> marks) {
  requireRadical(radical);
  if (!marks) return u.index().byRadical(radical, static_cast<kelvorn::Source>(source.prop));
  if (source.prop != kelvorn::kRSUnicode) {
    throw py::value_error("marks= asks kRSUnicode, the only source that writes them");
  }
  return u.index().byRadicalForm(radical, *marks);
}

Typed<RadicalEntries> radicalEntries(Unihan& u, int radical, Source source,
                                     std::optional<int> marks) {
  const std::vector<kelvorn::RadicalEntry> entries = pageOf(u, radical, source, marks);
  py::list out(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out[i] = py::make_tuple(character(entries[i].codePoint), entries[i].residual);
  }
  return Typed<RadicalEntries>(out);
}

Typed<ListOfStr> byRadical(Unihan& u, int radical, Source source, std::optional<int> marks) {
  const std::vector<kelvorn::RadicalEntry> entries = pageOf(u, radical, source, marks);
  py::list out(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) out[i] = character(entries[i].codePoint);
  return Typed<ListOfStr>(out);
}

Typed<ListOfStr> byStrokes(Unihan& u, int strokes) {
  if (strokes < 1) {
    throw py::value_error("stroke count must be at least 1, got " + std::to_string(strokes));
  }
  return Typed<ListOfStr>(characters(u.index().byTotalStrokes(strokes)));
}

// The order by_reading's order= names; ValueError for anything else.
bool wantsFrequencyOrder(PyObject* order) {
  if (order == nullptr) return false;
  if (PyUnicode_Check(order)) {
    if (PyUnicode_CompareWithASCIIString(order, "codepoint") == 0) return false;
    if (PyUnicode_CompareWithASCIIString(order, "frequency") == 0) return true;
  }
  throw py::value_error("order must be \"codepoint\" or \"frequency\"");
}

bool boolFlag(const char* name, PyObject* flag) {
  if (flag == nullptr) return false;
  if (!PyBool_Check(flag)) {
    throw py::type_error(std::string(name) + " must be a bool, got " + Py_TYPE(flag)->tp_name);
  }
  return flag == Py_True;
}

kelvorn::ReadingMatch readingMatch(PyObject* exact, PyObject* prefix) {
  const bool isExact = boolFlag("exact", exact);
  const bool isPrefix = boolFlag("prefix", prefix);
  if (isExact && isPrefix) throw py::value_error("exact and prefix cannot both be True");
  if (isExact) return kelvorn::ReadingMatch::kExact;
  return isPrefix ? kelvorn::ReadingMatch::kPrefix : kelvorn::ReadingMatch::kLoose;
}

// Past this many distinct questions of one kind the answers are dropped and
// gathered afresh, so that a stream of made-up queries cannot grow it for ever.
constexpr Py_ssize_t kAnswerCacheLimit = 4096;

// The text of a reading query, which lives as long as the str does.
std::string_view readingQuery(PyObject* text) {
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size);
  if (utf8 == nullptr) throw py::error_already_set();
  if (size == 0) throw py::value_error("empty reading");
  return {utf8, static_cast<std::size_t>(size)};
}

// The index and the all-field store open with the interpreter lock
// released (Unihan::index, fields) before the bundle is asked.
kelvorn::ReadingOrder readingOrder(bool byFrequency) {
  return byFrequency ? kelvorn::ReadingOrder::kCommonFirst : kelvorn::ReadingOrder::kCodePoint;
}

py::tuple findReadings(Unihan& u, PyObject* text, kelvorn::unihanPropT field,
                       kelvorn::ReadingMatch match, bool byFrequency) {
  const std::string_view query = readingQuery(text);
  (void)u.index();
  return characterTuple(u.bundle().byReading(query, static_cast<kelvorn::Reading>(field), match,
                                             readingOrder(byFrequency)));
}

// ValueError naming the nearest field for a str no reading lookup takes;
// anything but a str is left to toField to refuse.
void requireReadingFieldName(PyObject* field) {
  if (field == nullptr || !PyUnicode_Check(field)) return;
  Py_ssize_t size = 0;
  const char* name = PyUnicode_AsUTF8AndSize(field, &size);
  if (name == nullptr) {
    PyErr_Clear();  // a lone surrogate names no field
    throw py::value_error(kelvorn_saved_index::unknownReadingFieldMessage("?"));
  }
  const std::string_view view(name, static_cast<std::size_t>(size));
  if (!kelvorn_saved_index::isReadingFieldName(view)) {
    throw py::value_error(kelvorn_saved_index::unknownReadingFieldMessage(view));
  }
}

// The name in field= when it is one of the fields the core's store lacks.
std::optional<std::string> namedFieldOf(PyObject* field) {
  if (field == nullptr || !PyUnicode_Check(field)) return std::nullopt;
  const char* name = PyUnicode_AsUTF8(field);
  if (name == nullptr) throw py::error_already_set();
  const auto& names = kelvorn::NamedReadings::fieldNames();
  if (std::find(names.begin(), names.end(), name) == names.end()) return std::nullopt;
  return std::string(name);
}

py::tuple findNamedReadings(Unihan& u, PyObject* text, const std::string& field,
                            kelvorn::ReadingMatch match, bool byFrequency) {
  const std::string_view query = readingQuery(text);
  (void)u.fields();
  if (byFrequency) (void)u.index();
  return characterTuple(u.bundle().byReading(query, field, match, readingOrder(byFrequency)));
}

constexpr std::array<const char*, 5> kByReadingParams = {"text", "field", "exact", "order",
                                                         "prefix"};

PyObject* byReading(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("by_reading", kByReadingParams, 1, args, nargs, kw)) {
      return nullptr;
    }
    PyObject* text = a[0];
    if (!PyUnicode_Check(text)) {
      PyErr_Format(PyExc_TypeError, "expected a reading (str), got %s", Py_TYPE(text)->tp_name);
      return nullptr;
    }
    requireReadingFieldName(a[1]);
    if (const std::optional<std::string> named = namedFieldOf(a[1])) {
      const kelvorn::ReadingMatch match = readingMatch(a[2], a[4]);
      return findNamedReadings(*u, text, *named, match, wantsFrequencyOrder(a[3])).release().ptr();
    }
    kelvorn::unihanPropT field = kelvorn::kMandarin;
    if (a[1] != nullptr && !toField(a[1], FieldKind::kReading, &field)) return nullptr;
    const kelvorn::ReadingMatch match = readingMatch(a[2], a[4]);
    const bool exact = match == kelvorn::ReadingMatch::kExact;
    const bool byFrequency = wantsFrequencyOrder(a[3]);
    static_assert(Unihan::kReadingCaches == 16, "a cache per field (4), exactness, order");
    const std::size_t which = static_cast<std::size_t>(field - kelvorn::kHanyuPinlu) * 4 +
                              (exact ? 2 : 0) + (byFrequency ? 1 : 0);
    PyObject* cache = u->answerCache(which);
    // Only a plain str: a subclass may hash and compare as it likes. Prefixes,
    // asked once per keystroke, are not kept.
    const bool cacheable = PyUnicode_CheckExact(text) && match != kelvorn::ReadingMatch::kPrefix;
    if (cacheable) {
      if (PyObject* hit = PyDict_GetItemWithError(cache, text)) return Py_NewRef(hit);
      if (PyErr_Occurred() != nullptr) return nullptr;
    }
    py::tuple answer = findReadings(*u, text, field, match, byFrequency);
    if (cacheable) {
      if (PyDict_Size(cache) >= kAnswerCacheLimit) PyDict_Clear(cache);
      if (PyDict_SetItem(cache, text, answer.ptr()) != 0) return nullptr;
    }
    return answer.release().ptr();
  });
}

PyMethodDef byReadingMethod = {
    "by_reading", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(&byReading)),
    METH_FASTCALL | METH_KEYWORDS,
    "by_reading(self, text: str, field: str = 'kMandarin', exact: bool = False,\n"
    "           order: str = 'codepoint', prefix: bool = False) -> tuple[str, ...]\n\n"
    "The characters with a reading in `field` (kMandarin, kHanyuPinlu, kJapaneseKun,\n"
    "kJapaneseOn), as a tuple: a repeated question answers the same object. With the\n"
    "all-field image, kMandarin also searches kHanyuPinyin, kXHC1983, kTGHZ2013 and\n"
    "kHanyuPinlu, so \"hang2\" finds 行. The fields the binary image lacks\n"
    "(kCantonese, kHangul, kHanyuPinyin, kJapanese, kKorean, kTGHZ2013, kTang,\n"
    "kVietnamese, kXHC1983) are read from the all-field data when first named, and\n"
    "answer that field alone; a final digit 1 to 6 is a tone.\n\n"
    "exact=True compares the stored text as it is. Otherwise case is ignored, and\n"
    "for the two pinyin fields so are tone marks (ü may be written ü, v or u:); a\n"
    "final digit 1 to 5 or a tone mark in `text` asks for that tone only, 5 for a\n"
    "reading without a mark: \"han4\" finds 漢 (hàn), \"zi5\" finds 字 (zi).\n"
    "prefix=True asks only for the start of the reading, as an input method does\n"
    "while a syllable is typed: \"zh\" finds 中 (zhōng) and 这 (zhè).\n\n"
    "order=\"codepoint\" answers in code-point order. order=\"frequency\" puts first\n"
    "the characters that kHanyuPinlu counts for a matching reading, highest count\n"
    "first, then the rest; each group in radical-stroke order. The counts come from\n"
    "every-field data (see field()), so a Unihan loaded from a binary image needs\n"
    "fields=."};

constexpr const char* kByRadicalDoc =
    R"doc(The characters that stand under a radical (1 to 214) in one radical-stroke
source, ordered by residual strokes, then code point. A character stands once
for each distinct residual among its values naming the radical (kRSUnicode's
second value and every kRSVantu_Japan1_6 value count). kRSUnicode's page lists
the radical's own form first, then its simplified form (120, then 120');
marks=1 answers the simplified form's part alone, marks=0 the rest.)doc";

}  // namespace

void defineReverseLookups(UnihanClass& cls) {
  addFastMethod(cls, &byReadingMethod);
  cls.def(
         "code_points",
         [](Unihan& u) { return Typed<ListOfStr>(characters(u.index().codePoints())); },
         "The characters the data holds, in code-point order.")
      .def("by_radical", &byRadical, py::arg("radical"), py::arg("source") = "kRSUnicode",
           py::arg("marks") = py::none(), kByRadicalDoc)
      .def("radical_entries", &radicalEntries, py::arg("radical"), py::arg("source") = "kRSUnicode",
           py::arg("marks") = py::none(),
           "by_radical with the residual strokes: a list of (character, residual).")
      .def("by_strokes", &byStrokes, py::arg("strokes"),
           "The characters whose kTotalStrokes is `strokes`, in radical-stroke order.");
  addFastMethod(cls, &radicalStrokeKeyMethod);
  addFastMethod(cls, &totalStrokesKeyMethod);
}

}  // namespace kelvorn_python
