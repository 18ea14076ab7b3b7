// A whole file mapped read-only (MAP_PRIVATE), unmapped when the object
// goes. Opening never blocks on a FIFO and refuses anything but a regular
// file, so that a device or a pipe cannot stand in for an image.
#ifndef KELVORN_FIELDS_MAPPEDFILE_H
#define KELVORN_FIELDS_MAPPEDFILE_H

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvorn_fields_private {

class MappedFile {
 public:
  // Throws kelvorn::FieldsError naming the path when the file cannot be
  // opened, is not a regular file, or cannot be mapped.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::string_view bytes() const noexcept {
    return {static_cast<const char*>(address_), size_};
  }

 private:
  void* address_ = nullptr;
  std::size_t size_ = 0;
};

// Reads a whole regular file into memory; the same refusals as MappedFile.
std::string readWholeFile(const std::string& path);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_MAPPEDFILE_H
