#include "LibraryOutput.h"

#include "DataFiles.h"
#include "MemFile.h"
#include "ToolError.h"

namespace unihan_tool {
namespace {

constexpr int kDumpMode = 0;
constexpr int kImageMode = 1;

// Throws `refusal` when the library's write fails at once.
std::string writtenBy(kelvorn::UnihanMgr& mgr, int mode, const std::string& output,
                      const std::string& refusal) {
  MemFile file(output);
  if (mgr.write(CPath(file.procPath()), mode) != 0) throw ToolError(refusal);
  return file.content();
}

}  // namespace

std::string imageBytes(kelvorn::UnihanMgr& mgr, const std::string& output) {
  std::string bytes = writtenBy(mgr, kImageMode, output,
                                output + ": cannot write the image (cannot create the file, or "
                                         "the data does not fit the image format)");
  kelvorn::UnihanMgr check;
  if (!loadImageBytes(check, bytes)) {
    throw ToolError(output + ": the written image does not load back; nothing was written");
  }
  return bytes;
}

std::string dumpBytes(kelvorn::UnihanMgr& mgr, const std::string& output) {
  return writtenBy(mgr, kDumpMode, output, output + ": cannot write the dump");
}

}  // namespace unihan_tool
