#include "Loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "kelvorn/UnihanImage.h"

namespace kelvorn_python {
namespace {

constexpr std::string_view kMagic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
constexpr int kLastCodePoint = 0x10FFFF;

// Closes the descriptor on every path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void failWithErrno(int errnum) { throw LoadError{errnum, std::strerror(errnum)}; }

// Opens a regular file for reading; a directory is refused like the tool does,
// with EISDIR rather than a later, vaguer read error.
int openRegularFile(const std::string& path, off_t* size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) failWithErrno(errno);
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int errnum = errno;
    ::close(fd);
    failWithErrno(errnum);
  }
  if (S_ISDIR(status.st_mode)) {
    ::close(fd);
    failWithErrno(EISDIR);
  }
  *size = status.st_size;
  return fd;
}

// Reads up to `limit` bytes; fewer only at end of file.
std::vector<char> readUpTo(int fd, std::size_t limit) {
  std::vector<char> bytes(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t got = ::read(fd, bytes.data() + done, limit - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failWithErrno(errno);
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

// Reads to the end of the file, whatever its size said, so that a file that
// changes under us gives a short or long buffer rather than an over-read.
void readRest(int fd, std::vector<char>* bytes) {
  constexpr std::size_t kChunk = 1 << 20;
  for (;;) {
    const std::size_t done = bytes->size();
    bytes->resize(done + kChunk);
    const ssize_t got = ::read(fd, bytes->data() + done, kChunk);
    if (got < 0 && errno == EINTR) {
      bytes->resize(done);
      continue;
    }
    if (got < 0) failWithErrno(errno);
    bytes->resize(done + static_cast<std::size_t>(got));
    if (got == 0) return;
  }
}

void loadImage(kelvorn::UnihanMgr& mgr, int fd, off_t size, std::vector<char> bytes) {
  if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
  readRest(fd, &bytes);
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
    throw LoadError{0, "binary image larger than 2 GiB"};
  }
  const auto length = static_cast<unsigned int>(bytes.size());
  bool loaded = false;
  try {
    // Success answers the length, but so do the answers for an image cut
    // short inside its header (19 and 20).
    loaded = length >= kelvorn::kImageHeaderLength &&
             mgr.readUnihanBinaryBuf(bytes.data(), length) == static_cast<int>(length);
  } catch (const std::length_error&) {
    loaded = false;  // a block count with its top bit set
  }
  if (!loaded) throw LoadError{0, "damaged or unsupported binary image"};
}

bool holdsAnything(kelvorn::UnihanMgr& mgr) {
  for (int cp = 0; cp <= kLastCodePoint; ++cp) {
    if (mgr.getNumVals(cp, kelvorn::kMandarin) != -1) return true;
  }
  return false;
}

void loadText(kelvorn::UnihanMgr& mgr, const std::string& path) {
  std::vector<char> cPath(path.begin(), path.end());
  cPath.push_back('\0');
  if (mgr.readUnihan(cPath.data()) != 0) failWithErrno(EIO);
  // The reader passes over what it does not understand, so a file that is not
  // Unihan text loads as nothing at all.
  if (!holdsAnything(mgr)) {
    throw LoadError{0, "not Unihan text (no code point with a kept field)"};
  }
}

}  // namespace

void loadFile(kelvorn::UnihanMgr& mgr, const std::string& path) {
  off_t size = 0;
  const FileDescriptor fd(openRegularFile(path, &size));
  std::vector<char> head = readUpTo(fd.get(), kMagic.size());
  if (std::string_view(head.data(), head.size()) == kMagic) {
    loadImage(mgr, fd.get(), size, std::move(head));
  } else {
    loadText(mgr, path);
  }
}

}  // namespace kelvorn_python
