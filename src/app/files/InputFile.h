// A file the tool reads, opened once and checked to be what the command
// expects. A FIFO would block the open or the reads until some writer came,
// and a device such as /dev/zero never ends, so only regular files (and,
// where a command takes one, directories) get past the open. Everything the
// tool reads afterwards goes through this descriptor, never through the name
// again.
#ifndef KELVORN_FILES_INPUTFILE_H
#define KELVORN_FILES_INPUTFILE_H

#include <sys/types.h>

#include <string>

#include "app/files/FileDescriptor.h"

namespace kelvorn_files {

// "a FIFO", "a device", ...: what a file is, for a message that refuses it.
std::string fileTypeName(mode_t mode);

enum class InputKind { kFile, kFileOrDirectory };

class InputFile {
 public:
  // Opens without blocking and checks the type; throws kelvorn::Error with one
  // clear line for a missing, unreadable or unsuitable path.
  static InputFile open(const std::string& path, InputKind kind);

  [[nodiscard]] const std::string& path() const { return path_; }
  [[nodiscard]] bool isDirectory() const { return isDirectory_; }
  // The same file, told apart from others by device and inode.
  [[nodiscard]] bool isSameFile(dev_t device, ino_t inode) const {
    return device == device_ && inode == inode_;
  }
  [[nodiscard]] bool isSameFile(const InputFile& other) const {
    return isSameFile(other.device_, other.inode_);
  }
  [[nodiscard]] int descriptor() const { return fd_.get(); }
  // Up to n bytes from the start of the file.
  [[nodiscard]] std::string head(std::size_t n) const;
  [[nodiscard]] std::string readAll() const;
  // The whole file as it stands now, refused (kelvorn::Error) when it is
  // larger than `limit` bytes or changes while it is read.
  [[nodiscard]] std::string readSnapshot(std::size_t limit) const;

 private:
  InputFile(std::string path, FileDescriptor fd, bool isDirectory, dev_t device, ino_t inode);

  std::string path_;
  FileDescriptor fd_;
  bool isDirectory_;
  dev_t device_;
  ino_t inode_;
};

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_INPUTFILE_H
