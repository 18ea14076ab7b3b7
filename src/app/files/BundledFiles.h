// Finding the files installed with the libraries: the bundled core image, the
// all-field image and the index saved beside them. The application library,
// the tool and the Python module all look in the same places in the same
// order, so that every door answers from the same data.
#ifndef KELVORN_FILES_BUNDLEDFILES_H
#define KELVORN_FILES_BUNDLEDFILES_H

#include <string>
#include <vector>

namespace kelvorn_files {

// Names the one directory to look in, for data kept apart from the
// libraries (or a test's own copy).
inline constexpr char kDataDirVariable[] = "KELVORN_UNIHAN_DATA_DIR";

// The directories looked in, in order. When the variable is set, the
// directory it names and nothing else. Otherwise three places found from the
// directory the application library was loaded from: the data directory of
// the install, by its path relative to the library directory recorded when
// the build was configured (so a moved prefix and any libdir, multiarch
// included, work); data/ beside the library (a build tree); and the library's
// own directory (a pip-installed package keeps the two side by side). Empty
// when the application library is not loaded in this process.
std::vector<std::string> bundledDirs();

// The first of those directories that holds `name` as a regular file. Throws
// kelvorn::Error naming the directories looked in when none does.
std::string bundledFilePath(const std::string& name);

// Where `name` is, or where it should have been: the first directory's
// path when no directory holds it, so that opening it fails with the usual
// message for a missing file. Empty when there is no directory to look in.
std::string bundledFileGuess(const std::string& name);

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_BUNDLEDFILES_H
