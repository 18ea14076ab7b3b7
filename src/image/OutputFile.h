// A file written front to back through one buffer.
#ifndef KELVORN_IMAGE_OUTPUTFILE_H
#define KELVORN_IMAGE_OUTPUTFILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace kelvorn_private {

class OutputFile {
 public:
  // Opens path with the given fopen mode; check isOpen().
  OutputFile(const char* path, const char* mode)
      : file_(std::fopen(path, mode)), buffer_(new char[kBufferSize]) {
    if (file_ != nullptr) (void)std::setvbuf(file_, nullptr, _IONBF, 0);
  }
  ~OutputFile() { close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }

  void put(const void* bytes, std::size_t n) {
    if (n > kBufferSize - used_) flush();
    if (n > kBufferSize) {
      failed_ |= std::fwrite(bytes, 1, n, file_) != n;
      return;
    }
    std::memcpy(buffer_.get() + used_, bytes, n);
    used_ += n;
  }
  void put(std::string_view text) { put(text.data(), text.size()); }
  void putByte(std::uint8_t b) {
    if (used_ == kBufferSize) flush();
    buffer_[used_++] = static_cast<char>(b);
  }

  // Hands the buffered bytes to the file; true when no write has failed yet.
  bool flush() {
    if (used_ > 0) failed_ |= std::fwrite(buffer_.get(), 1, used_, file_) != used_;
    used_ = 0;
    return !failed_;
  }

  void close() {
    if (file_ == nullptr) return;
    // Only a failure while the header goes out makes write report -1; what
    // happens after it, the close included, is not reported.
    flush();
    (void)std::fclose(file_);
    file_ = nullptr;
  }

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;

  std::FILE* file_;
  std::size_t used_ = 0;
  bool failed_ = false;
  std::unique_ptr<char[]> buffer_;
};

}  // namespace kelvorn_private

#endif  // KELVORN_IMAGE_OUTPUTFILE_H
