// The Unihan text files of a directory: its Unihan_*.txt entries, in name
// order, so that the order of the sources (and of the lines in messages)
// never depends on the file system's listing order.
#ifndef KELVORN_FILES_UNIHANTEXTFILES_H
#define KELVORN_FILES_UNIHANTEXTFILES_H

#include <string>
#include <vector>

namespace kelvorn_files {

// The paths of every Unihan_*.txt entry of dir. An entry that is not a
// regular file is listed too, to be refused when it is opened rather than
// passed over, so that no part of the data goes missing unnoticed. Throws
// kelvorn::Error when the directory cannot be listed or holds no such entry.
std::vector<std::string> unihanTextFilesIn(const std::string& dir);

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_UNIHANTEXTFILES_H
