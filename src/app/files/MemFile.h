// A file that lives only in memory (memfd) and vanishes with its descriptor.
// The library reads and writes files by path; through this file's
// "/proc/self/fd/N" it writes where the tool can look at every byte before
// anything reaches the disk, and it reads text the tool has put together.
#ifndef KELVORN_FILES_MEMFILE_H
#define KELVORN_FILES_MEMFILE_H

#include <string>
#include <string_view>

#include "app/files/FileDescriptor.h"

namespace kelvorn_files {

class MemFile {
 public:
  // shownAs names the file in messages. Throws kelvorn::Error when the system has
  // no memory file to give.
  explicit MemFile(std::string shownAs);

  [[nodiscard]] std::string procPath() const { return fd_.procPath(); }
  // Appends; throws kelvorn::Error on failure.
  void append(std::string_view bytes);
  // The whole content. Throws kelvorn::Error when it reaches the file size limit
  // (ulimit -f), because writes stop silently there and what the file holds
  // may be cut short.
  [[nodiscard]] std::string content() const;

 private:
  std::string shownAs_;
  FileDescriptor fd_;
};

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_MEMFILE_H
