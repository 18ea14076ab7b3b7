#include "fields/AtomicWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/files/PathCheck.h"
#include "app/files/StagingRegistry.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {
namespace {

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The staging file until it is renamed: closed and removed if the write
// does not get that far.
class StagingFile {
 public:
  StagingFile(const std::string& target, std::string directory)
      : target_(target), directory_(std::move(directory)), name_(directory_ + "/.unihan-fields-XXXXXX") {
    fd_ = kelvorn_files::createStaging(&name_, &slot_);
    if (fd_ < 0) fail("cannot create a file in " + directory_);
    // mkstemp makes the file private to its owner; the image gets the mode
    // any new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    (void)::fchmod(fd_, 0666 & ~mask);
  }
  ~StagingFile() {
    // Removed before it is forgotten: a signal in between finds it recorded.
    if (fd_ >= 0) (void)::close(fd_);
    if (!renamed_) (void)::unlink(name_.c_str());
    kelvorn_files::unregisterStaging(slot_);
  }
  StagingFile(const StagingFile&) = delete;
  StagingFile& operator=(const StagingFile&) = delete;

  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) errno = EIO;  // a write that makes no progress would loop
      if (n <= 0) fail("cannot write");
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }

  void commit() {
    if (::fsync(fd_) != 0) fail("cannot write");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("cannot write");
    if (::rename(name_.c_str(), target_.c_str()) != 0) fail("cannot replace");
    renamed_ = true;
    kelvorn_files::unregisterStaging(slot_);
    slot_ = -1;
    syncDirectory();
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    const int err = errno;
    throw kelvorn::FieldsError(target_ + ": " + what + " (" + std::strerror(err) + ")");
  }

  // The rename reaches the disk only with the directory. Some file systems
  // cannot sync a directory (EINVAL); there is nothing more to do on them.
  void syncDirectory() const {
    const int dir = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    (void)::fsync(dir);
    (void)::close(dir);
  }

  std::string target_;
  std::string directory_;
  std::string name_;
  int fd_ = -1;
  int slot_ = -1;
  bool renamed_ = false;
};

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view bytes) {
  if (auto problem = kelvorn_files::outputPathProblem(path)) throw kelvorn::FieldsError(*problem);
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    throw kelvorn::FieldsError(path + ": exists and is not a regular file");
  }
  StagingFile staging(path, directoryOf(path));
  staging.write(bytes);
  staging.commit();
}

}  // namespace kelvorn_fields_private
