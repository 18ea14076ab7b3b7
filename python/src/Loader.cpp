#include "Loader.h"

#include "kelvorn/Unihan.h"

namespace kelvorn_python {

kelvorn::Unihan loadFile(const std::string& path) {
  try {
    return kelvorn::Unihan::open(path);
  } catch (const kelvorn::Error& e) {
    // The message names the path; Python names it through the exception.
    std::string message = e.what();
    const std::string prefix = path + ": ";
    if (message.compare(0, prefix.size(), prefix) == 0) message.erase(0, prefix.size());
    throw LoadError{e.systemError(), message};
  }
}

}  // namespace kelvorn_python
