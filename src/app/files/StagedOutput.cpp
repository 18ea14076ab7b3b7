#include "app/files/StagedOutput.h"

#include "app/files/StagingRegistry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "app/files/PathCheck.h"
#include "kelvorn/Unihan.h"

namespace kelvorn_files {
namespace {

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// mkstemp makes files readable by the owner alone; the output gets the mode
// a plain new file would get.
void giveDefaultMode(int fd) {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  (void)::fchmod(fd, 0666 & ~mask);
}

// Directory entries (the rename) reach the disk only with the directory.
// Some file systems cannot sync a directory at all (EINVAL); there is
// nothing more to do on them.
bool syncDirectory(const std::string& directory) {
  FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.isOpen()) return false;
  if (::fsync(dir.get()) != 0 && errno != EINVAL) return false;
  return dir.close();
}

// The file a chain of symbolic links ends at, existing or not, so that the
// rename replaces the target and leaves the links as they are.
std::string followLinks(std::string path) {
  namespace fs = std::filesystem;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) return path;
    path = (target.is_absolute() ? target : fs::path(directoryOf(path)) / target).string();
  }
  return path;
}

// Refused before the name is followed or a staging file is made for it.
std::string checkedOutputPath(std::string path) {
  if (auto problem = outputPathProblem(path)) throw kelvorn::Error(*problem);
  return path;
}

}  // namespace

StagedOutput::StagedOutput(std::string path)
    : path_(checkedOutputPath(std::move(path))), target_(followLinks(path_)), directory_(directoryOf(target_)) {
  std::string name = directory_ + "/.unihan-XXXXXX";
  fd_ = FileDescriptor(createStaging(&name, &slot_));
  if (!fd_.isOpen()) {
    throw kelvorn::Error(path_ + ": cannot create a file in " + directory_ + " (" +
                    errorText(errno) + ")");
  }
  staging_ = name;
  giveDefaultMode(fd_.get());
}

StagedOutput::~StagedOutput() {
  // Removed before it is forgotten: a signal in between finds it recorded.
  if (!committed_) {
    (void)fd_.close();
    (void)::unlink(staging_.c_str());
  }
  unregisterStaging(slot_);
}

void StagedOutput::write(std::string_view bytes) { writeAll(fd_.get(), bytes, path_); }

void StagedOutput::sync() {
  if (::fsync(fd_.get()) != 0) {
    const int err = errno;
    throw kelvorn::Error(path_ + ": cannot write (" + errorText(err) + ")", err);
  }
}

void StagedOutput::commit() {
  const auto fail = [this](int err) {
    throw kelvorn::Error(path_ + ": cannot write (" + errorText(err) + ")");
  };
  if (::fsync(fd_.get()) != 0) fail(errno);
  if (!fd_.close()) fail(errno);
  if (::rename(staging_.c_str(), target_.c_str()) != 0) fail(errno);
  committed_ = true;
  unregisterStaging(slot_);
  slot_ = -1;
  if (!syncDirectory(directory_)) {
    throw kelvorn::Error(path_ + ": written, but its directory could not be synced to disk (" +
                    errorText(errno) + ")");
  }
}

void refuseUnsafeOutput(const std::string& path, const std::vector<InputFile>& inputs) {
  (void)checkedOutputPath(path);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return;  // a new file, or an error the write reports
  if (!S_ISREG(st.st_mode)) {
    throw kelvorn::Error(path + ": is " + fileTypeName(st.st_mode) +
                    "; the output must be a regular file");
  }
  for (const InputFile& input : inputs) {
    if (input.isSameFile(st.st_dev, st.st_ino)) {
      throw kelvorn::Error(path + ": is the input " + input.path() +
                      "; write the output to another file");
    }
  }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
  refuseUnsafeOutput(path, {});
  StagedOutput out(path);
  out.write(bytes);
  out.commit();
}

}  // namespace kelvorn_files
