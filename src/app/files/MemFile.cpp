#include "app/files/MemFile.h"

#include <sys/mman.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "kelvorn/Unihan.h"

namespace kelvorn_files {
namespace {

bool reachesFileSizeLimit(std::size_t size) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
  return size >= limit.rlim_cur;
}

}  // namespace

MemFile::MemFile(std::string shownAs)
    : shownAs_(std::move(shownAs)), fd_(::memfd_create("unihan", MFD_CLOEXEC)) {
  if (!fd_.isOpen()) throw kelvorn::Error("cannot create a file in memory (" + errorText(errno) + ")");
}

void MemFile::append(std::string_view bytes) { writeAll(fd_.get(), bytes, shownAs_); }

std::string MemFile::content() const {
  std::string bytes = readFromStart(fd_.get(), SIZE_MAX, shownAs_);
  if (reachesFileSizeLimit(bytes.size())) {
    throw kelvorn::Error(shownAs_ + ": cannot write (" + errorText(EFBIG) + ")");
  }
  return bytes;
}

}  // namespace kelvorn_files
