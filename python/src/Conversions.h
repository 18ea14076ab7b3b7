// Python objects for the core's answers.
#ifndef KELVORN_PYTHON_CONVERSIONS_H
#define KELVORN_PYTHON_CONVERSIONS_H

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

namespace kelvorn_python {

// A one-character str. Each character's str is made once and shared, so
// that an answer of thousands of characters (a common gloss word, a
// radical's page) costs a reference a character, not an allocation.
pybind11::str character(char32_t cp);
// A str of a character per code point.
pybind11::list characters(const std::vector<char32_t>& cps);
// The same as a tuple, for answers that are cached and shared.
pybind11::tuple characterTuple(const std::vector<char32_t>& cps);
// The same as a new reference, or nullptr with a Python error set.
PyObject* newCharacterTuple(const std::vector<char32_t>& cps);
// The data's UTF-8 as str; a byte that is not UTF-8 becomes U+FFFD.
pybind11::str decoded(const std::string& bytes);
pybind11::list decodedList(const std::vector<std::string>& values);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_CONVERSIONS_H
