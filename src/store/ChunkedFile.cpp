#include "store/ChunkedFile.h"

#include <cstring>

namespace kelvorn_private {

ChunkedFile::ChunkedFile(std::FILE* file)
    : file_(file), chunk_(new unsigned char[kChunkSize]), base_(chunk_.get()) {
  // The chunk is the buffer; a second one inside the stream would only add
  // a copy.
  (void)std::setvbuf(file_, nullptr, _IONBF, 0);
}

bool ChunkedFile::fillMore() {
  if (eof_) return false;
  const std::size_t rest = available();
  if (pos_ > 0 && rest > 0) std::memmove(chunk_.get(), chunk_.get() + pos_, rest);
  pos_ = 0;
  len_ = rest;
  if (len_ == kChunkSize) return false;  // nobody asks for more than a chunk
  const std::size_t got = std::fread(chunk_.get() + len_, 1, kChunkSize - len_, file_);
  len_ += got;
  if (got == 0) eof_ = true;
  return got > 0;
}

}  // namespace kelvorn_private
