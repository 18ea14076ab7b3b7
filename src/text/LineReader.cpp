#include "text/LineReader.h"

#include <cstring>

namespace kelvorn_private {

LineReader::LineReader(std::FILE* file)
    : file_(file), chunk_(new char[kChunkSize]) {
  // The chunk is our buffer; a second one inside the stream would only add a
  // copy.
  (void)std::setvbuf(file_, nullptr, _IONBF, 0);  // the reader buffers itself
}

// Moves the unread rest of the chunk to its front and reads more behind it.
// Returns false when nothing more could be read.
bool LineReader::fill() {
  if (eof_) return false;
  const std::size_t rest = len_ - pos_;
  if (pos_ > 0 && rest > 0) std::memmove(chunk_.get(), chunk_.get() + pos_, rest);
  pos_ = 0;
  len_ = rest;
  const std::size_t got = std::fread(chunk_.get() + len_, 1, kChunkSize - len_, file_);
  len_ += got;
  if (got == 0) eof_ = true;
  return got > 0;
}

void LineReader::skipToLineFeed() {
  for (;;) {
    const void* lf = std::memchr(chunk_.get() + pos_, '\n', len_ - pos_);
    if (lf != nullptr) {
      pos_ = static_cast<std::size_t>(static_cast<const char*>(lf) - chunk_.get()) + 1;
      return;
    }
    pos_ = len_;
    if (!fill()) return;
  }
}

std::string_view LineReader::trim(const char* begin, std::size_t length,
                                  bool endedByLineFeed) {
  if (endedByLineFeed && length > 0 && begin[length - 1] == '\r') --length;
  if (length > kMaxLineLength) length = kMaxLineLength;
  if (const void* nul = std::memchr(begin, '\0', length)) {
    length = static_cast<std::size_t>(static_cast<const char*>(nul) - begin);
  }
  return {begin, length};
}

bool LineReader::next(std::string_view* line) {
  for (;;) {
    const char* start = chunk_.get() + pos_;
    const std::size_t avail = len_ - pos_;
    if (const void* lf = std::memchr(start, '\n', avail)) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
      pos_ += length + 1;
      *line = trim(start, length, true);
      return true;
    }
    if (avail > kMaxLineLength + 1) {
      // Longer than any line we keep, even with a carriage return: keep the
      // head and drop the rest of the line.
      std::memcpy(longLine_, start, kMaxLineLength);
      pos_ += kMaxLineLength;
      skipToLineFeed();
      *line = trim(longLine_, kMaxLineLength, false);
      return true;
    }
    if (!fill()) {
      if (pos_ == len_) return false;
      // The last line of the file, without a line feed.
      *line = trim(chunk_.get() + pos_, len_ - pos_, false);
      pos_ = len_;
      return true;
    }
  }
}

}  // namespace kelvorn_private
