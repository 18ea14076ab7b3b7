// Lookups by radical, strokes and reading, and the sort keys, answered by the
// companion index library.
#include <string>

#include "Arguments.h"
#include "Bindings.h"
#include "Conversions.h"
#include "FastCall.h"
#include "TypedObject.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

constexpr int kLastRadical = 214;

void requireRadical(int radical) {
  if (radical < 1 || radical > kLastRadical) {
    throw py::value_error("radical must be 1 to 214, got " + std::to_string(radical));
  }
}

py::tuple tupleOf(std::initializer_list<long> values) {
  py::tuple out(values.size());
  std::size_t i = 0;
  for (const long value : values) out[i++] = py::int_(value);
  return out;
}

// The key of a character as a tuple, characters without the value after all
// that have one: (0, radical, residual, cp) or (1, 0, 0, cp).
py::tuple radicalStrokeTuple(const kelvorn::RadicalStrokeKey& key) {
  return tupleOf({key.hasValue ? 0 : 1, key.radical, key.residual,
                  static_cast<long>(key.codePoint)});
}

py::tuple totalStrokesTuple(const kelvorn::TotalStrokesKey& key) {
  const kelvorn::RadicalStrokeKey& rs = key.radicalStroke;
  return tupleOf({key.hasValue ? 0 : 1, key.totalStrokes, rs.hasValue ? 0 : 1, rs.radical,
                  rs.residual, static_cast<long>(rs.codePoint)});
}

// A string compares character by character, a prefix first: exactly how
// Python compares tuples of the characters' keys.
template <typename KeyOf>
Typed<SortKey> stringKey(Unihan& u, const Typed<TextOrChar>& arg, KeyOf keyOf) {
  const py::handle text = arg.object;
  const kelvorn::UnihanIndex& index = u.index();
  if (!PyUnicode_Check(text.ptr())) {
    return Typed<SortKey>(py::make_tuple(keyOf(index, static_cast<char32_t>(codePointOf(text)))));
  }
  const Py_ssize_t length = PyUnicode_GET_LENGTH(text.ptr());
  py::tuple out(static_cast<std::size_t>(length));
  for (Py_ssize_t i = 0; i < length; ++i) {
    out[static_cast<std::size_t>(i)] =
        keyOf(index, static_cast<char32_t>(PyUnicode_READ_CHAR(text.ptr(), i)));
  }
  return Typed<SortKey>(out);
}

Typed<RadicalEntries> radicalEntries(Unihan& u, int radical, Source source) {
  requireRadical(radical);
  const std::vector<kelvorn::RadicalEntry>& entries = u.index().byRadical(radical, source.prop);
  py::list out(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out[i] = py::make_tuple(character(entries[i].codePoint), entries[i].residual);
  }
  return Typed<RadicalEntries>(out);
}

Typed<ListOfStr> byRadical(Unihan& u, int radical, Source source) {
  requireRadical(radical);
  const std::vector<kelvorn::RadicalEntry>& entries = u.index().byRadical(radical, source.prop);
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

bool exactFlag(PyObject* exact) {
  if (exact == nullptr) return false;
  if (!PyBool_Check(exact)) {
    throw py::type_error(std::string("exact must be a bool, got ") + Py_TYPE(exact)->tp_name);
  }
  return exact == Py_True;
}

// Past this many distinct questions of one kind the answers are dropped and
// gathered afresh, so that a stream of made-up queries cannot grow it for ever.
constexpr Py_ssize_t kAnswerCacheLimit = 4096;

py::tuple findReadings(Unihan& u, PyObject* text, kelvorn::unihanPropT field, bool exact,
                       bool byFrequency) {
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size);
  if (utf8 == nullptr) throw py::error_already_set();
  if (size == 0) throw py::value_error("empty reading");
  const std::string_view query(utf8, static_cast<std::size_t>(size));
  const auto match = exact ? kelvorn::ReadingMatch::kExact : kelvorn::ReadingMatch::kLoose;
  if (!byFrequency) return characterTuple(u.index().byReading(query, field, match));
  const kelvorn::ReadingFrequencies& frequencies = u.readingFrequencies();
  return characterTuple(u.index().byReading(query, field, match, frequencies));
}

constexpr std::array<const char*, 4> kByReadingParams = {"text", "field", "exact", "order"};

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
    kelvorn::unihanPropT field = kelvorn::kMandarin;
    if (a[1] != nullptr && !toField(a[1], FieldKind::kReading, &field)) return nullptr;
    const bool exact = exactFlag(a[2]);
    const bool byFrequency = wantsFrequencyOrder(a[3]);
    static_assert(Unihan::kReadingCaches == 16, "a cache per field (4), exactness, order");
    const std::size_t which = static_cast<std::size_t>(field - kelvorn::kHanyuPinlu) * 4 +
                              (exact ? 2 : 0) + (byFrequency ? 1 : 0);
    PyObject* cache = u->answerCache(which);
    // Only a plain str: a subclass may hash and compare as it likes.
    const bool cacheable = PyUnicode_CheckExact(text);
    if (cacheable) {
      if (PyObject* hit = PyDict_GetItemWithError(cache, text)) return Py_NewRef(hit);
      if (PyErr_Occurred() != nullptr) return nullptr;
    }
    py::tuple answer = findReadings(*u, text, field, exact, byFrequency);
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
    "           order: str = 'codepoint') -> tuple[str, ...]\n\n"
    "The characters with a reading in `field` (kMandarin, kHanyuPinlu, kJapaneseKun,\n"
    "kJapaneseOn), as a tuple: a repeated question answers the same object.\n\n"
    "exact=True compares the stored text as it is. Otherwise case is ignored, and\n"
    "for the two pinyin fields so are tone marks (ü may be written ü, v or u:); a\n"
    "final digit 1 to 5 or a tone mark in `text` asks for that tone only, 5 for a\n"
    "reading without a mark: \"han4\" finds 漢 (hàn), \"zi5\" finds 字 (zi).\n\n"
    "order=\"codepoint\" answers in code-point order. order=\"frequency\" puts first\n"
    "the characters that kHanyuPinlu counts for a matching reading, highest count\n"
    "first, then the rest; each group in radical-stroke order. The counts come from\n"
    "every-field data (see field()), so a Unihan loaded from a binary image needs\n"
    "fields=."};

constexpr const char* kByRadicalDoc =
    R"doc(The characters that stand under a radical (1 to 214) in one radical-stroke
source, ordered by residual strokes, then code point. A character stands once
for each distinct residual among its values naming the radical (kRSUnicode's
second value and every kRSVantu_Japan1_6 value count).)doc";

constexpr const char* kRadicalStrokeKeyDoc =
    R"doc(A sort key in radical-stroke order for a str (any length) or one character:
per character (0, radical, residual, code point) from its first kRSUnicode value,
or (1, 0, 0, code point) without one, so that sorted(words,
key=u.radical_stroke_key) compares words character by character, a prefix
first.)doc";

constexpr const char* kTotalStrokesKeyDoc =
    R"doc(A sort key in total-strokes order, like radical_stroke_key: per character
(0, total strokes) or (1, 0) without a count, followed by the radical-stroke
key's first three numbers and the code point.)doc";

}  // namespace

void defineReverseLookups(UnihanClass& cls) {
  addFastMethod(cls, &byReadingMethod);
  cls.def("code_points",
          [](Unihan& u) { return Typed<ListOfStr>(characters(u.index().codePoints())); },
          "The characters the data holds, in code-point order.")
      .def("by_radical", &byRadical, py::arg("radical"), py::arg("source") = "kRSUnicode",
           kByRadicalDoc)
      .def("radical_entries", &radicalEntries, py::arg("radical"),
           py::arg("source") = "kRSUnicode",
           "by_radical with the residual strokes: a list of (character, residual).")
      .def("by_strokes", &byStrokes, py::arg("strokes"),
           "The characters whose kTotalStrokes is `strokes`, in radical-stroke order.")
      .def("radical_stroke_key",
           [](Unihan& u, const Typed<TextOrChar>& text) {
             return stringKey(u, text, [](const kelvorn::UnihanIndex& index, char32_t cp) {
               return radicalStrokeTuple(index.radicalStrokeKey(cp));
             });
           },
           py::arg("text"), kRadicalStrokeKeyDoc)
      .def("total_strokes_key",
           [](Unihan& u, const Typed<TextOrChar>& text) {
             return stringKey(u, text, [](const kelvorn::UnihanIndex& index, char32_t cp) {
               return totalStrokesTuple(index.totalStrokesKey(cp));
             });
           },
           py::arg("text"), kTotalStrokesKeyDoc);
}

}  // namespace kelvorn_python
