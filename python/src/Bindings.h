// The parts of the Unihan class, each defined in its own file.
#ifndef KELVORN_PYTHON_BINDINGS_H
#define KELVORN_PYTHON_BINDINGS_H

#include <pybind11/pybind11.h>

#include "FastCall.h"
#include "Unihan.h"

// Every method of the class takes its object through this caster. An object
// whose __init__ never ran (Unihan.__new__(Unihan)) has no C++ object behind
// it; the call raises TypeError instead of reading uninitialised memory.
namespace pybind11 {
namespace detail {

template <>
class type_caster<kelvorn_python::Unihan> : public type_caster_base<kelvorn_python::Unihan> {
 public:
  bool load(handle src, bool convert) {
    if (isinstance<kelvorn_python::Unihan>(src) && kelvorn_python::unihanOf(src.ptr()) == nullptr) {
      throw error_already_set();  // unihanOf has set the TypeError
    }
    return type_caster_base<kelvorn_python::Unihan>::load(src, convert);
  }
};

}  // namespace detail
}  // namespace pybind11

namespace kelvorn_python {

using UnihanClass = pybind11::class_<Unihan>;

// HanYu, the named tuple hanyu() answers; defined on the module first.
void defineHanYu(pybind11::module_& m);
// Construction, loading, repr, `in`, len() and iteration.
void defineProtocol(UnihanClass& cls);
// The per-character queries and the source preference.
void defineQueries(UnihanClass& cls);
// Lookups by radical, strokes and reading, and the sort keys.
void defineReverseLookups(UnihanClass& cls);
// Every Unihan field: field(), fields(), field_names().
void defineFields(UnihanClass& cls);
// Variants, conversion, search by gloss, any field in reverse.
void defineLexicon(UnihanClass& cls);

// The index of a field the caller named; ValueError naming the nearest field
// when the data has no such field.
std::size_t knownField(const kelvorn::UnihanFields& fields, std::string_view name);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_BINDINGS_H
