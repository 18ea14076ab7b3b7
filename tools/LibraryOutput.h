// What the library's `write` produces, caught in memory. `write` reports
// only failures up to the image header, so its 0 does not prove a complete
// file; the tool lets it write into a memory file, checks what arrived, and
// only then copies the bytes out with checked writes.
#ifndef KELVORN_TOOLS_LIBRARYOUTPUT_H
#define KELVORN_TOOLS_LIBRARYOUTPUT_H

#include <string>

#include "kelvorn/UnihanMgr.h"

namespace unihan_tool {

// The binary image of the store, proven whole by loading it back. Throws
// ToolError, naming the output as `output`, when the store does not fit the
// format or the bytes do not load.
std::string imageBytes(kelvorn::UnihanMgr& mgr, const std::string& output);

// The text dump of the store; throws ToolError naming `output`.
std::string dumpBytes(kelvorn::UnihanMgr& mgr, const std::string& output);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_LIBRARYOUTPUT_H
