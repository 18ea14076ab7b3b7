// An owned POSIX file descriptor, and reads and writes on one that report
// every failure instead of losing bytes silently.
#ifndef KELVORN_FILES_FILEDESCRIPTOR_H
#define KELVORN_FILES_FILEDESCRIPTOR_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvorn_files {

class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  [[nodiscard]] int get() const { return fd_; }
  [[nodiscard]] bool isOpen() const { return fd_ >= 0; }
  int release();
  // Closes now; false (with errno set) when the close reports an error, which
  // for a written file can be the first sign of lost data.
  bool close();

 private:
  int fd_ = -1;
};

// The text of an errno value, e.g. "No space left on device".
std::string errorText(int err);

// The file's bytes from offset 0 up to its end or to limit bytes, whichever
// comes first. Throws kelvorn::Error naming the file as `name` when a read fails.
std::string readFromStart(int fd, std::size_t limit, const std::string& name);

// Everything a stream (a pipe, a terminal or a file) has left to give, read
// from where it stands. More than `limit` bytes throws kelvorn::Error
// `tooLarge` at once, having held no more than `limit`; a failed read throws
// kelvorn::Error naming `name`.
std::string readStream(int fd, std::size_t limit, const std::string& name,
                       const std::string& tooLarge);

// Writes all of bytes at the current offset, resuming short writes; throws
// kelvorn::Error naming `name` on the first failure (ENOSPC, EFBIG, EIO, ...).
void writeAll(int fd, std::string_view bytes, const std::string& name);

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_FILEDESCRIPTOR_H
