// Finding and loading the data the tool answers from: a binary image this
// library wrote, or Unihan text.
#ifndef KELVORN_TOOLS_DATAFILES_H
#define KELVORN_TOOLS_DATAFILES_H

#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"

namespace unihan_tool {

// The library takes paths as mutable C strings; this keeps one alive.
class CPath {
 public:
  explicit CPath(const std::string& path);
  operator char*() { return chars_.data(); }

 private:
  std::vector<char> chars_;
};

// True when the file starts with the image magic "vantu unihan binary".
bool isImage(const std::string& path);

// The image the build made from the bundled data, looked for next to the
// executable; throws ToolError when there is none.
std::string defaultImagePath();

// Fills mgr from an image or from Unihan text, whichever the file is. Throws
// ToolError for a missing or unreadable file, a damaged image, or text that
// yields no code point.
void loadData(kelvorn::UnihanMgr& mgr, const std::string& path);

// Loads the file named by --data, or the default image when that is empty.
void loadSelectedData(kelvorn::UnihanMgr& mgr, const std::string& dataOption);

// Reads Unihan text; throws ToolError, naming the file as shownAs (or as
// path when that is empty), when it yields no code point.
void loadText(kelvorn::UnihanMgr& mgr, const std::string& path, const std::string& shownAs = "");

// Throws ToolError unless path names a regular file that can be opened.
void requireReadableFile(const std::string& path);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_DATAFILES_H
