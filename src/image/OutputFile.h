// The one place the core writes a file: bytes already built in memory, handed
// to the file in one go.
#ifndef KELVORN_IMAGE_OUTPUTFILE_H
#define KELVORN_IMAGE_OUTPUTFILE_H

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace kelvorn_private {

// Creates or truncates path (fopen `mode`) and writes `bytes`. Returns -1
// when the file cannot be opened or the first `reported` bytes cannot be
// written, 0 otherwise: what goes wrong after them, the close included, is
// not reported, as the exported write promises.
inline int writeWholeFile(const char* path, const char* mode, std::string_view bytes,
                          std::size_t reported) {
  std::FILE* file = std::fopen(path, mode);
  if (file == nullptr) return -1;
  // Unbuffered, so that the reported bytes reach the file, and any failure
  // shows, before the rest goes.
  (void)std::setvbuf(file, nullptr, _IONBF, 0);
  const std::size_t head = reported < bytes.size() ? reported : bytes.size();
  if (std::fwrite(bytes.data(), 1, head, file) != head) {
    (void)std::fclose(file);
    return -1;
  }
  (void)std::fwrite(bytes.data() + head, 1, bytes.size() - head, file);
  (void)std::fclose(file);
  return 0;
}

}  // namespace kelvorn_private

#endif  // KELVORN_IMAGE_OUTPUTFILE_H
