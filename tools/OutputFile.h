// Files the tool writes: the result goes to "<path>.tmp" and is renamed into
// place only when complete, so a failure never leaves a half-written file; and
// scratch files that are removed whatever happens.
#ifndef KELVORN_TOOLS_OUTPUTFILE_H
#define KELVORN_TOOLS_OUTPUTFILE_H

#include <string>

namespace unihan_tool {

class StagedOutput {
 public:
  explicit StagedOutput(std::string path);
  ~StagedOutput();
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  // Where to write the content.
  [[nodiscard]] const std::string& stagingPath() const { return staging_; }
  // Moves the written content to the final path; throws ToolError.
  void commit();

 private:
  std::string path_;
  std::string staging_;
  bool committed_ = false;
};

// A new empty file in the temporary directory, deleted with this object.
class ScratchFile {
 public:
  ScratchFile();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  [[nodiscard]] const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Prints text on stdout; throws ToolError when it cannot be written.
void writeStdout(const std::string& text);

// Size of a file in bytes, or 0 when it cannot be read.
unsigned long long fileSize(const std::string& path);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_OUTPUTFILE_H
