// Files the tool writes. The content goes to a new file with a unique name
// in the target's directory, which is flushed to disk and only then renamed
// over the target; so the target is either its old self or the complete new
// content, never a part, and the staging file cannot be one of the inputs.
#ifndef KELVORN_TOOLS_OUTPUTFILE_H
#define KELVORN_TOOLS_OUTPUTFILE_H

#include <string>
#include <string_view>
#include <vector>

#include "FileDescriptor.h"
#include "InputFile.h"

namespace unihan_tool {

class StagedOutput {
 public:
  // Creates the staging file; throws ToolError.
  explicit StagedOutput(std::string path);
  // Removes the staging file unless it was committed.
  ~StagedOutput();
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Appends to the staging file; throws ToolError.
  void write(std::string_view bytes);
  // Syncs and closes the staging file, renames it over the target and syncs
  // the directory; throws ToolError.
  void commit();

 private:
  std::string path_;
  std::string directory_;
  std::string staging_;
  FileDescriptor fd_;
  bool committed_ = false;
};

// Throws ToolError, before anything is read, when the output path names an
// existing directory, FIFO, device or socket, or the same file as one of the
// inputs (by device and inode, whatever the names).
void refuseUnsafeOutput(const std::string& path, const std::vector<InputFile>& inputs);

// Prints text on stdout; throws ToolError when it cannot be written.
void writeStdout(const std::string& text);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_OUTPUTFILE_H
