#include "OutOfMemory.h"

#include <sys/resource.h>

namespace unihan_tool {
namespace {

constexpr rlim_t kMiB = rlim_t{1} << 20;

// The limit of one resource, nothing when none is set.
bool limitOf(int resource, rlim_t* bytes) {
  rlimit limit{};
  if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
  *bytes = limit.rlim_cur;
  return true;
}

}  // namespace

std::string outOfMemoryMessage() {
  // The address-space limit is what `ulimit -v` sets; the data limit counts
  // the heap only. The tighter one is the one reached.
  rlim_t space = 0;
  rlim_t data = 0;
  const bool hasSpace = limitOf(RLIMIT_AS, &space);
  const bool hasData = limitOf(RLIMIT_DATA, &data);
  const std::string advice = "; raise the limit or give the command less input";
  if (hasSpace && (!hasData || space <= data)) {
    return "out of memory: the process may use at most " + std::to_string(space / kMiB) +
           " MiB of address space (ulimit -v " + std::to_string(space / 1024) + ")" + advice;
  }
  if (hasData) {
    return "out of memory: the process may use at most " + std::to_string(data / kMiB) +
           " MiB of data (ulimit -d " + std::to_string(data / 1024) + ")" + advice;
  }
  return "out of memory: no limit is set on the process, and the machine has no more to give";
}

}  // namespace unihan_tool
