// The per-character queries, bound through the fast path (see FastCall.h),
// and the source preference.
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Arguments.h"
#include "Bindings.h"
#include "Conversions.h"
#include "FastCall.h"
#include "TypedObject.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

// Created once at import and kept for the life of the process.
PyObject* hanYuType = nullptr;

PyObject* newInt(std::optional<int> value) {
  if (!value) Py_RETURN_NONE;
  return PyLong_FromLong(*value);
}

// Built by hand: Py_BuildValue parses its format on every call, a third of
// the cost of a radical_stroke call.
PyObject* newPair(std::optional<std::pair<int, int>> value) {
  if (!value) Py_RETURN_NONE;
  PyObject* first = PyLong_FromLong(value->first);
  PyObject* second = PyLong_FromLong(value->second);
  PyObject* pair = first != nullptr && second != nullptr ? PyTuple_New(2) : nullptr;
  if (pair == nullptr) {
    Py_XDECREF(first);
    Py_XDECREF(second);
    return nullptr;
  }
  PyTuple_SET_ITEM(pair, 0, first);
  PyTuple_SET_ITEM(pair, 1, second);
  return pair;
}

PyObject* newHanYu(std::optional<kelvorn::HanYuPosition> pos) {
  if (!pos) Py_RETURN_NONE;
  return PyObject_CallFunction(hanYuType, "iiii", pos->volume, pos->page, pos->position,
                               pos->virtualFlag);
}

constexpr std::array<const char*, 1> kChar = {"char"};
constexpr std::array<const char*, 2> kCharIndex = {"char", "index"};
constexpr std::array<const char*, 2> kCharField = {"char", "field"};
constexpr std::array<const char*, 3> kCharSourceIndex = {"char", "source", "index"};
constexpr std::array<const char*, 1> kCid = {"cid"};

// query(self, char): `answer(unihan, cp)` gives the Python result.
template <typename Answer>
PyObject* charQuery(const char* name, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                    PyObject* kwnames, Answer answer) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    int cp = 0;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind(name, kChar, 1, args, nargs, kwnames) ||
        !toCodePoint(a[0], &cp)) {
      return nullptr;
    }
    return answer(*u, cp);
  });
}

// query(self, char, index=0).
template <typename Answer>
PyObject* indexedQuery(const char* name, PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                       PyObject* kwnames, Answer answer) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    int cp = 0;
    int index = 0;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind(name, kCharIndex, 1, args, nargs, kwnames) ||
        !toCodePoint(a[0], &cp) || (a[1] != nullptr && !toValueIndex(a[1], &index))) {
      return nullptr;
    }
    return answer(*u, cp, index);
  });
}

// query(self, char, field).
template <typename Answer>
PyObject* fieldQuery(const char* name, FieldKind kind, PyObject* self, PyObject* const* args,
                     Py_ssize_t nargs, PyObject* kwnames, Answer answer) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    int cp = 0;
    kelvorn::unihanPropT field = kelvorn::kRSUnicode;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind(name, kCharField, 2, args, nargs, kwnames) ||
        !toCodePoint(a[0], &cp) || !toField(a[1], kind, &field)) {
      return nullptr;
    }
    return answer(*u, cp, field);
  });
}

PyObject* totalStrokes(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return charQuery("total_strokes", self, args, nargs, kw,
                   [](Unihan& u, int cp) { return newInt(u.totalStrokes(cp)); });
}

PyObject* radicalStroke(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    int cp = 0;
    kelvorn::unihanPropT source = kelvorn::kRSUnicode;
    int index = 0;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("radical_stroke", kCharSourceIndex, 1, args, nargs, kw) ||
        !toCodePoint(a[0], &cp) ||
        (a[1] != nullptr && !toField(a[1], FieldKind::kSource, &source)) ||
        (a[2] != nullptr && !toValueIndex(a[2], &index))) {
      return nullptr;
    }
    return newPair(u->radicalStroke(cp, source, index));
  });
}

PyObject* preferred(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return charQuery("preferred_radical_stroke", self, args, nargs, kw,
                   [](Unihan& u, int cp) -> PyObject* {
                     const auto preferred = u.preferredRadicalStroke(cp);
                     if (!preferred) Py_RETURN_NONE;
                     const std::string source(kelvorn::fieldName(preferred->source));
                     return Py_BuildValue("(iis)", preferred->value.radical,
                                          preferred->value.residual, source.c_str());
                   });
}

PyObject* cid(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return indexedQuery("cid", self, args, nargs, kw,
                      [](Unihan& u, int cp, int index) { return newInt(u.cid(cp, index)); });
}

PyObject* cidStrokes(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return indexedQuery("cid_strokes", self, args, nargs, kw, [](Unihan& u, int cp, int index) {
    return newInt(u.cidStrokes(cp, index));
  });
}

PyObject* readings(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return fieldQuery("readings", FieldKind::kReading, self, args, nargs, kw,
                    [](Unihan& u, int cp, kelvorn::unihanPropT field) {
                      return decodedList(u.readings(cp, field)).release().ptr();
                    });
}

PyObject* numValues(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return fieldQuery("num_values", FieldKind::kAny, self, args, nargs, kw,
                    [](Unihan& u, int cp, kelvorn::unihanPropT field) {
                      return PyLong_FromLong(u.numValues(cp, field));
                    });
}

PyObject* hanYu(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return charQuery("hanyu", self, args, nargs, kw,
                   [](Unihan& u, int cp) { return newHanYu(u.hanYu(cp)); });
}

PyObject* charForCid(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kw) {
  return guarded([&]() -> PyObject* {
    Arguments a;
    Unihan* u = unihanOf(self);
    if (u == nullptr || !a.bind("char_for_cid", kCid, 1, args, nargs, kw)) return nullptr;
    if (!PyLong_Check(a[0])) {
      PyErr_Format(PyExc_TypeError, "a CID must be an int, got %s", Py_TYPE(a[0])->tp_name);
      return nullptr;
    }
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(a[0], &overflow);
    if (value == -1 && PyErr_Occurred() != nullptr) return nullptr;
    const std::optional<int> cp = overflow != 0 ? std::nullopt : u->charForCid(value);
    if (!cp) Py_RETURN_NONE;
    return character(static_cast<char32_t>(*cp)).release().ptr();
  });
}

template <typename Function>
PyCFunction fastcall(Function* function) {
  // METH_FASTCALL | METH_KEYWORDS functions travel as PyCFunction; the cast
  // through void (*)() is the one the compiler accepts as deliberate.
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

constexpr int kFastFlags = METH_FASTCALL | METH_KEYWORDS;

PyMethodDef fastMethods[] = {
    {"total_strokes", fastcall(&totalStrokes), kFastFlags,
     "total_strokes(self, char: str | int) -> Optional[int]\n\n"
     "The kTotalStrokes count, or None when the data has none."},
    {"radical_stroke", fastcall(&radicalStroke), kFastFlags,
     "radical_stroke(self, char: str | int, source: str = 'kRSUnicode', index: int = 0)"
     " -> Optional[tuple[int, int]]\n\n"
     "(radical, residual strokes) of the value at `index` under one radical-stroke\n"
     "source, or None.\n\n"
     "source is kRSUnicode (index 1 is its second value, where there is one),\n"
     "kRSKangXi, kRSKanWa, kRSKorean, kRSJapanese or kRSVantu_Japan1_6 (one value per\n"
     "CID; the residual is the strokes the CID's glyph adds to the radical's form).\n"
     "The residual may be negative: U+5DDC gives (47, -1)."},
    {"preferred_radical_stroke", fastcall(&preferred), kFastFlags,
     "preferred_radical_stroke(self, char: str | int) -> Optional[tuple[int, int, str]]\n\n"
     "(radical, residual strokes, source) from the first source in the preference\n"
     "order that has a value, or None; see set_source_preference. The residual is\n"
     "that source's, as radical_stroke answers it (\u6F22 gives\n"
     "(85, 10, 'kRSVantu_Japan1_6') by default)."},
    {"readings", fastcall(&readings), kFastFlags,
     "readings(self, char: str | int, field: str) -> list[str]\n\n"
     "The values of a reading field (kMandarin, kHanyuPinlu, kJapaneseKun, kJapaneseOn)\n"
     "as the data writes them; [] when there are none."},
    {"cid", fastcall(&cid), kFastFlags,
     "cid(self, char: str | int, index: int = 0) -> Optional[int]\n\n"
     "The CID of the character's kRSVantu_Japan1_6 value at `index`, or None."},
    {"cid_strokes", fastcall(&cidStrokes), kFastFlags,
     "cid_strokes(self, char: str | int, index: int = 0) -> Optional[int]\n\n"
     "The stroke count of the glyph of the kRSVantu_Japan1_6 value at `index`, or None."},
    {"char_for_cid", fastcall(&charForCid), kFastFlags,
     "char_for_cid(self, cid: int) -> Optional[str]\n\n"
     "The character the data maps a CID to, or None."},
    {"hanyu", fastcall(&hanYu), kFastFlags,
     "hanyu(self, char: str | int) -> Optional[HanYu]\n\n"
     "The kHanYu position as a HanYu(volume, page, position, virtual), or None when\n"
     "the character has none."},
    {"num_values", fastcall(&numValues), kFastFlags,
     "num_values(self, char: str | int, field: str) -> int\n\n"
     "How many values the data gives for a field, any of the twelve the library keeps\n"
     "(1 or 2 for kRSUnicode, 0 or 1 for the other plain sources, kTotalStrokes and\n"
     "kHanYu). Unlike the C++ getNumVals, which counts only what it keeps in lists,\n"
     "this counts every value; 0 for a character the data does not hold."},
};

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

Typed<ListOfStr> preferenceNames(const SourcePreference& preference) {
  py::list out;
  for (const kelvorn::unihanPropT source : preference) {
    if (source != kNoSource) out.append(std::string(kelvorn::fieldName(source)));
  }
  return Typed<ListOfStr>(out);
}

constexpr const char* kSetPreferenceDoc =
    R"doc(Replace the order in which preferred_radical_stroke consults the radical-stroke
sources: up to six source names, first preferred first. The default is
["kRSVantu_Japan1_6", "kRSJapanese", "kRSKorean", "kRSKanWa", "kRSKangXi",
"kRSUnicode"].)doc";

}  // namespace

void defineHanYu(py::module_& m) {
  py::object type = py::module_::import("collections")
                        .attr("namedtuple")("HanYu", "volume page position virtual",
                                            py::arg("module") = "kelvorn_unihan");
  type.attr("__doc__") =
      "Position of a character in the HanYu Da Zidian: volume, page, position on the page, "
      "and virtual (0 when the character stands at that place, above 0 for a virtual "
      "position).";
  m.attr("HanYu") = type;
  hanYuType = type.release().ptr();
}

void defineQueries(UnihanClass& cls) {
  for (PyMethodDef& def : fastMethods) addFastMethod(cls, &def);
  cls.def("set_source_preference",
          [](Unihan& u, const std::vector<Source>& sources) {
            u.setSourcePreference(preferenceOf(sources));
          },
          py::arg("sources"), kSetPreferenceDoc)
      .def("source_preference",
           [](const Unihan& u) { return preferenceNames(u.sourcePreference()); },
           "The current source preference, first preferred first.");
}

}  // namespace kelvorn_python
