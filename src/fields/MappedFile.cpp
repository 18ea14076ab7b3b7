#include "fields/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/files/PathCheck.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {
namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what, int err) {
  throw kelvorn::FieldsError(path + ": " + what + " (" + std::strerror(err) + ")");
}

// Closes the descriptor on every way out of the function that opened it.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) (void)::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opens without blocking (a FIFO would wait for a writer) and returns the
// size of what must be a regular file.
std::size_t openRegular(const std::string& path, const Descriptor& fd) {
  if (fd.get() < 0) fail(path, "cannot open for reading", errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) fail(path, "cannot read its status", errno);
  if (!S_ISREG(st.st_mode)) {
    throw kelvorn::FieldsError(path + ": not a regular file");
  }
  return static_cast<std::size_t>(st.st_size);
}

int openForReading(const std::string& path) {
  if (auto problem = kelvorn_files::inputPathProblem(path)) throw kelvorn::FieldsError(*problem);
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

}  // namespace

MappedFile::MappedFile(const std::string& path) {
  const Descriptor fd(openForReading(path));
  size_ = openRegular(path, fd);
  // An empty file cannot be mapped; it is an empty image, refused later.
  if (size_ == 0) return;
  void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd.get(), 0);
  if (p == MAP_FAILED) fail(path, "cannot map into memory", errno);
  address_ = p;
}

MappedFile::~MappedFile() {
  if (address_ != nullptr) (void)::munmap(address_, size_);
}

std::string readWholeFile(const std::string& path) {
  const Descriptor fd(openForReading(path));
  const std::size_t size = openRegular(path, fd);
  std::string bytes;
  bytes.reserve(size);
  // Read to the end rather than to the size seen at open, in case the file
  // is still growing; the reservation is only a hint.
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(path, "cannot read", errno);
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

}  // namespace kelvorn_fields_private
