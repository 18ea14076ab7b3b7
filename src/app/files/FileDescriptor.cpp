#include "app/files/FileDescriptor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "kelvorn/Unihan.h"

namespace kelvorn_files {

FileDescriptor::~FileDescriptor() { (void)close(); }

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    (void)close();
    fd_ = other.release();
  }
  return *this;
}

int FileDescriptor::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool FileDescriptor::close() {
  if (fd_ < 0) return true;
  // Linux releases the descriptor even when close fails, so it is never
  // closed twice.
  return ::close(release()) == 0;
}

std::string errorText(int err) { return std::strerror(err); }

std::string readFromStart(int fd, std::size_t limit, const std::string& name) {
  std::string bytes;
  // Sized once from the file's size and read straight into: growing by
  // doubling would copy and fault in the bytes several times over, most of
  // a short command's time.
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    bytes.reserve(std::min(limit, static_cast<std::size_t>(st.st_size)));
  }
  constexpr std::size_t kChunk = 1 << 16;
  while (bytes.size() < limit) {
    const std::size_t have = bytes.size();
    const std::size_t want = std::min(limit - have, std::max(kChunk, bytes.capacity() - have));
    bytes.resize(have + want);
    const ssize_t got = ::pread(fd, &bytes[have], want, static_cast<off_t>(have));
    bytes.resize(have + static_cast<std::size_t>(got > 0 ? got : 0));
    if (got == 0) break;
    if (got < 0) {
      const int err = errno;
      if (err == EINTR) continue;
      throw kelvorn::Error(name + ": cannot read (" + errorText(err) + ")", err);
    }
  }
  return bytes;
}

std::string readStream(int fd, std::size_t limit, const std::string& name,
                       const std::string& tooLarge) {
  // Pieces, joined once the end is seen: a string grown by doubling would
  // copy the input several times and, for a moment, hold twice what it has
  // read. They start small, as most input is a line or two, and double up
  // to a megabyte.
  constexpr std::size_t kFirstPiece = 1 << 14;
  constexpr std::size_t kLargestPiece = 1 << 20;
  std::vector<std::string> pieces;
  std::size_t used = 0;  // of the last piece
  std::size_t total = 0;
  for (;;) {
    if (pieces.empty() || used == pieces.back().size()) {
      const std::size_t size =
          pieces.empty() ? kFirstPiece : std::min(2 * pieces.back().size(), kLargestPiece);
      pieces.emplace_back(size, '\0');
      used = 0;
    }
    const ssize_t got = ::read(fd, &pieces.back()[used], pieces.back().size() - used);
    if (got == 0) break;
    if (got < 0) {
      const int err = errno;
      if (err == EINTR) continue;
      throw kelvorn::Error(name + ": cannot read (" + errorText(err) + ")", err);
    }
    used += static_cast<std::size_t>(got);
    total += static_cast<std::size_t>(got);
    if (total > limit) throw kelvorn::Error(tooLarge);
  }
  pieces.back().resize(used);
  std::string bytes;
  bytes.reserve(total);
  for (std::string& piece : pieces) {
    bytes += piece;
    std::string().swap(piece);
  }
  return bytes;
}

void writeAll(int fd, std::string_view bytes, const std::string& name) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    // A write that makes no progress would otherwise be retried forever.
    if (put <= 0) {
      const int err = put < 0 ? errno : EIO;
      throw kelvorn::Error(name + ": cannot write (" + errorText(err) + ")", err);
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
}

}  // namespace kelvorn_files
