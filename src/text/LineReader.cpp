#include "text/LineReader.h"

#include <cstring>

namespace kelvorn_private {

bool LineReader::refill() {
  const bool more = chunks_.fillMore();
  chunkHasNul_ = std::memchr(chunks_.data(), '\0', chunks_.available()) != nullptr;
  return more;
}

void LineReader::skipToLineFeed() {
  for (;;) {
    const auto* start = chunks_.data();
    if (const void* lf = std::memchr(start, '\n', chunks_.available())) {
      chunks_.consume(static_cast<std::size_t>(static_cast<const unsigned char*>(lf) - start) + 1);
      return;
    }
    chunks_.consume(chunks_.available());
    if (!refill()) return;
  }
}

std::string_view LineReader::trim(const char* begin, std::size_t length, bool endedByLineFeed) const {
  if (endedByLineFeed && length > 0 && begin[length - 1] == '\r') --length;
  if (length > kMaxLineLength) length = kMaxLineLength;
  const bool mayHoldNul = chunkHasNul_ || begin == longLine_;
  if (const void* nul = mayHoldNul ? std::memchr(begin, '\0', length) : nullptr) {
    length = static_cast<std::size_t>(static_cast<const char*>(nul) - begin);
  }
  return {begin, length};
}

bool LineReader::next(std::string_view* line) {
  for (;;) {
    const char* start = reinterpret_cast<const char*>(chunks_.data());
    const std::size_t avail = chunks_.available();
    if (const void* lf = std::memchr(start, '\n', avail)) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
      chunks_.consume(length + 1);
      *line = trim(start, length, true);
      return true;
    }
    if (avail > kMaxLineLength + 1) {
      // Longer than any line we keep, even with a carriage return: keep the
      // head and drop the rest of the line.
      std::memcpy(longLine_, start, kMaxLineLength);
      chunks_.consume(kMaxLineLength);
      skipToLineFeed();
      *line = trim(longLine_, kMaxLineLength, false);
      return true;
    }
    if (!refill()) {
      if (avail == 0) return false;
      // The last line of the file, without a line feed.
      start = reinterpret_cast<const char*>(chunks_.data());
      chunks_.consume(avail);
      *line = trim(start, avail, false);
      return true;
    }
  }
}

}  // namespace kelvorn_private
