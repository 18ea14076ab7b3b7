// Loads a file as the unihan tool does, through kelvorn::Unihan. Runs
// without the interpreter lock, so it reports failures as a LoadError that the
// caller turns into a Python exception.
#ifndef KELVORN_PYTHON_LOADER_H
#define KELVORN_PYTHON_LOADER_H

#include <memory>
#include <string>

#include "kelvorn/Unihan.h"

namespace kelvorn_python {

struct LoadError {
  // An errno value when the file could not be opened or read (OSError), or 0
  // when its contents were refused (ValueError).
  int errnum = 0;
  std::string message;
};

struct Loaded {
  kelvorn::Unihan unihan;
  // The bytes of a file of Unihan text, which every field is later read
  // from: the file is read once, so a rewrite after the load cannot make
  // field() disagree with the kept fields. Null for an image.
  std::shared_ptr<const std::string> text;
};

// Loads `path` (a file-system path in bytes). Throws LoadError.
Loaded loadFile(const std::string& path);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_LOADER_H
