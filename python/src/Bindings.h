// The parts of the Unihan class, each defined in its own file.
#ifndef KELVORN_PYTHON_BINDINGS_H
#define KELVORN_PYTHON_BINDINGS_H

#include <pybind11/pybind11.h>

#include "Unihan.h"

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

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_BINDINGS_H
