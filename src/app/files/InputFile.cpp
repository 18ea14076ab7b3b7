#include "app/files/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "app/files/PathCheck.h"
#include "kelvorn/Unihan.h"

namespace kelvorn_files {
namespace {

[[noreturn]] void refuse(const std::string& path, mode_t mode) {
  if (S_ISDIR(mode)) throw kelvorn::Error(path + ": is a directory, not a file", EISDIR);
  throw kelvorn::Error(path + ": is " + fileTypeName(mode) + ", not a regular file");
}

[[noreturn]] void cannotOpen(const std::string& path, int err) {
  if (err == ENOENT) throw kelvorn::Error(path + ": no such file", err);
  // A socket cannot be opened at all; name it rather than the errno.
  struct stat st {};
  if (err == ENXIO && ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) {
    refuse(path, st.st_mode);
  }
  throw kelvorn::Error(path + ": cannot open for reading (" + errorText(err) + ")", err);
}

}  // namespace

std::string fileTypeName(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return S_ISREG(mode) ? "a regular file" : "not a regular file";
}

InputFile::InputFile(std::string path, FileDescriptor fd, bool isDirectory, dev_t device,
                     ino_t inode)
    : path_(std::move(path)),
      fd_(std::move(fd)),
      isDirectory_(isDirectory),
      device_(device),
      inode_(inode) {}

InputFile InputFile::open(const std::string& path, InputKind kind) {
  if (auto problem = inputPathProblem(path)) throw kelvorn::Error(*problem);
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
  // writer. It changes nothing for the regular files that pass the check.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.isOpen()) cannotOpen(path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) cannotOpen(path, errno);
  const bool directory = S_ISDIR(st.st_mode);
  const bool accepted = S_ISREG(st.st_mode) || (directory && kind == InputKind::kFileOrDirectory);
  if (!accepted) refuse(path, st.st_mode);
  return InputFile(path, std::move(fd), directory, st.st_dev, st.st_ino);
}

std::string InputFile::head(std::size_t n) const { return readFromStart(fd_.get(), n, path_); }

std::string InputFile::readAll() const { return readFromStart(fd_.get(), SIZE_MAX, path_); }

std::string InputFile::readSnapshot(std::size_t limit) const {
  struct stat before {};
  if (::fstat(fd_.get(), &before) != 0) cannotOpen(path_, errno);
  const auto size = static_cast<std::size_t>(before.st_size);  // never negative
  if (size > limit) {
    throw kelvorn::Error(path_ + ": too large (" + std::to_string(size) + " bytes; at most " +
                         std::to_string(limit) + ")");
  }
  // One byte past the size tells a file that grew from one that did not.
  std::string bytes = readFromStart(fd_.get(), size + 1, path_);
  struct stat after {};
  const bool unchanged = bytes.size() == size && ::fstat(fd_.get(), &after) == 0 &&
                         after.st_size == before.st_size &&
                         after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
                         after.st_mtim.tv_nsec == before.st_mtim.tv_nsec;
  if (!unchanged) throw kelvorn::Error(path_ + ": changed while it was read");
  return bytes;
}

}  // namespace kelvorn_files
