// Loads a file as the unihan tool does, through kelvorn::Unihan. Runs
// without the interpreter lock, so it reports failures as a LoadError that the
// caller turns into a Python exception.
#ifndef KELVORN_PYTHON_LOADER_H
#define KELVORN_PYTHON_LOADER_H

#include <string>

#include "kelvorn/Unihan.h"

namespace kelvorn_python {

struct LoadError {
  // An errno value when the file could not be opened or read (OSError), or 0
  // when its contents were refused (ValueError).
  int errnum = 0;
  std::string message;
};

// Loads `path` (a file-system path in bytes) with every field from
// `fieldsPath` (an all-field image or Unihan text), or from the file itself
// when that is empty; or, when `bundled`, the bundled data, which `path`
// names. Throws LoadError.
kelvorn::Unihan loadFile(const std::string& path, const std::string& fieldsPath, bool bundled);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_LOADER_H
