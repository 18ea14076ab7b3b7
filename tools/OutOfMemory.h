// What the tool says when memory runs out: which limit was reached, rather
// than the name of the exception.
#ifndef KELVORN_TOOLS_OUTOFMEMORY_H
#define KELVORN_TOOLS_OUTOFMEMORY_H

#include <string>

namespace unihan_tool {

// "out of memory: the process may use at most 512 MiB (ulimit -v 524288);
// ..." naming the tightest limit set on the process, or saying that none is.
std::string outOfMemoryMessage();

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_OUTOFMEMORY_H
