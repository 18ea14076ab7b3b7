// The data the tool answers from: the file named by --data, or the image
// installed with the library.
#ifndef KELVORN_TOOLS_DATAFILES_H
#define KELVORN_TOOLS_DATAFILES_H

#include "Commands.h"
#include "kelvorn/Unihan.h"

namespace unihan_tool {

// Throws kelvorn::Error for a file that cannot be loaded, and for --data ''
// rather than quietly taking the bundled image.
kelvorn::Unihan loadSelectedData(const GlobalOptions& global);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_DATAFILES_H
