// Bytes read front to back, for the text reader's lines and the image
// reader's records alike: a file read in large chunks, or bytes already in
// memory, read in place. Bytes are handed out in place: a caller asks for as
// many contiguous bytes as it needs (up to a chunk), looks at them, then
// consumes them.
#ifndef KELVORN_STORE_CHUNKEDFILE_H
#define KELVORN_STORE_CHUNKEDFILE_H

#include <cstddef>
#include <cstdio>
#include <memory>

namespace kelvorn_private {

class ChunkedFile {
 public:
  static constexpr std::size_t kChunkSize = 1 << 16;

  // Reads from an open file; the caller keeps ownership of it.
  explicit ChunkedFile(std::FILE* file);
  // Reads `length` bytes at `bytes`, which the caller keeps alive; all of
  // them are available at once and nothing more ever comes.
  ChunkedFile(const unsigned char* bytes, std::size_t length)
      : file_(nullptr), base_(bytes), len_(length), eof_(true) {}

  const unsigned char* data() const { return base_ + pos_; }
  std::size_t available() const { return len_ - pos_; }
  void consume(std::size_t n) { pos_ += n; }

  // Makes at least n bytes (n <= kChunkSize) available; false when the file
  // ends, or a read fails, first. The bytes before the end stay available.
  bool ensure(std::size_t n) {
    while (available() < n) {
      if (!fillMore()) return false;
    }
    return true;
  }

  // Reads more bytes behind those available; false when none came.
  bool fillMore();

 private:
  std::FILE* file_;
  std::unique_ptr<unsigned char[]> chunk_;
  const unsigned char* base_;  // the chunk, or the caller's bytes
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool eof_ = false;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_CHUNKEDFILE_H
