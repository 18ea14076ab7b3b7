// Files the library and the tool write. The content goes to a new file with a
// unique name in the target's directory, which is flushed to disk and only
// then renamed over the target; so the target is either its old self or the
// complete new content, never a part, and the staging file cannot be one of
// the inputs. A target that is a symbolic link is written through: the file
// it points to is replaced and the link stays a link.
#ifndef KELVORN_FILES_STAGEDOUTPUT_H
#define KELVORN_FILES_STAGEDOUTPUT_H

#include <string>
#include <string_view>
#include <vector>

#include "app/files/FileDescriptor.h"
#include "app/files/InputFile.h"

namespace kelvorn_files {

class StagedOutput {
 public:
  // Creates the staging file; throws kelvorn::Error.
  explicit StagedOutput(std::string path);
  // Removes the staging file unless it was committed.
  ~StagedOutput();
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Appends to the staging file; throws kelvorn::Error.
  void write(std::string_view bytes);
  // Flushes the staging file to disk, so that what follows it before
  // commit() (a report on stdout, say) runs once the bytes are safe; throws
  // kelvorn::Error.
  void sync();
  // Syncs and closes the staging file, renames it over the target and syncs
  // the directory; throws kelvorn::Error.
  void commit();

 private:
  std::string path_;    // as given, for messages
  std::string target_;  // the file the rename replaces, past any links
  std::string directory_;
  std::string staging_;
  FileDescriptor fd_;
  bool committed_ = false;
  int slot_ = -1;  // in the staging registry, or -1
};

// The whole new content of path, through a StagedOutput, after the checks
// of refuseUnsafeOutput with no inputs: every file the libraries save is
// written here. Throws kelvorn::Error.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// Throws kelvorn::Error, before anything is read, when the output path names an
// existing directory, FIFO, device or socket, or the same file as one of the
// inputs (by device and inode, whatever the names).
void refuseUnsafeOutput(const std::string& path, const std::vector<InputFile>& inputs);

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_STAGEDOUTPUT_H
