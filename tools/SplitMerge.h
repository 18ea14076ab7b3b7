// Unicode has published Unihan as several Unihan_*.txt files since 5.2, each
// holding some fields of every code point. The library reads one stream in
// which all lines of a code point stand together, so split files are merged
// into one such stream first.
#ifndef KELVORN_TOOLS_SPLITMERGE_H
#define KELVORN_TOOLS_SPLITMERGE_H

#include <string>
#include <vector>

#include "app/files/InputFile.h"

namespace unihan_tool {

using kelvorn_files::InputFile;

// The files named on the command line, opened and checked, each directory
// replaced by the Unihan_*.txt files in it sorted by name. Throws ToolError
// for a missing or unsuitable input or a directory without such files.
std::vector<InputFile> expandInputs(const std::vector<std::string>& inputs);

// The data lines of all files ordered by code point. The sort is stable: the
// lines of one code point keep the order of the files, then their order
// within a file. Comment and blank lines are dropped. Throws ToolError when
// there is no data line.
std::string mergeByCodePoint(const std::vector<InputFile>& files);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_SPLITMERGE_H
