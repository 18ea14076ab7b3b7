// Finding and loading the data the tool answers from: a binary image this
// library wrote, or Unihan text.
#ifndef KELVORN_TOOLS_DATAFILES_H
#define KELVORN_TOOLS_DATAFILES_H

#include <string>
#include <vector>

#include "InputFile.h"
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

// The image the build made from the bundled data, looked for next to the
// executable; throws ToolError when there is none.
std::string defaultImagePath();

// Fills mgr from an image or from Unihan text, whichever the file is (told
// apart by the image magic). Throws ToolError for a damaged image or text
// that yields no code point.
void loadData(kelvorn::UnihanMgr& mgr, const InputFile& file);

// Loads the file named by --data, or the default image when that is empty.
void loadSelectedData(kelvorn::UnihanMgr& mgr, const std::string& dataOption);

// Reads Unihan text from path (a file the tool has already checked);
// throws ToolError, naming the file as shownAs, when it yields no code point.
void loadText(kelvorn::UnihanMgr& mgr, const std::string& path, const std::string& shownAs);

// Loads a whole image from memory; false unless every block record was read.
// A negative block count (the library throws std::length_error) is a damaged
// image like any other.
bool loadImageBytes(kelvorn::UnihanMgr& mgr, std::string& bytes);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_DATAFILES_H
