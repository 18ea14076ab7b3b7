#include "fields/MappedFile.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/files/InputFile.h"
#include "fields/FileErrors.h"

namespace kelvorn_fields_private {
namespace {

// Opened as every input is: without blocking, and only a regular file.
kelvorn_files::InputFile openRegular(const std::string& path) {
  return asFieldsError(
      [&] { return kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFile); });
}

}  // namespace

MappedFile::MappedFile(const std::string& path) {
  const kelvorn_files::InputFile file = openRegular(path);
  struct stat st {};
  if (::fstat(file.descriptor(), &st) != 0) {
    throw kelvorn::FieldsError(path + ": cannot read its status (" + std::strerror(errno) + ")");
  }
  size_ = static_cast<std::size_t>(st.st_size);
  // An empty file cannot be mapped; it is an empty image, refused later.
  if (size_ == 0) return;
  void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, file.descriptor(), 0);
  if (p == MAP_FAILED) {
    throw kelvorn::FieldsError(path + ": cannot map into memory (" + std::strerror(errno) + ")");
  }
  address_ = p;
}

MappedFile::~MappedFile() {
  if (address_ != nullptr) (void)::munmap(address_, size_);
}

// Read to the end rather than to the size seen at open, in case the file
// is still growing.
std::string readWholeFile(const std::string& path) {
  const kelvorn_files::InputFile file = openRegular(path);
  return asFieldsError([&] { return file.readAll(); });
}

}  // namespace kelvorn_fields_private
