// The Unihan text a build reads: files named by the caller, each directory
// replaced by its Unihan_*.txt files in name order, so that the order of the
// sources (and of the lines in error messages) never depends on the file
// system's listing order.
#ifndef KELVORN_FIELDS_TEXTSOURCES_H
#define KELVORN_FIELDS_TEXTSOURCES_H

#include <string>
#include <vector>

namespace kelvorn_fields_private {

struct TextSource {
  std::string name;  // the path, for messages
  std::string text;
};

// Reads every file; throws kelvorn::FieldsError for a path that cannot be
// read, is neither a regular file nor a directory, or for a directory
// without Unihan_*.txt files.
std::vector<TextSource> readTextSources(const std::vector<std::string>& paths);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_TEXTSOURCES_H
