// Reads text, from a file or from memory, line by line. Each line is handed out as a view of at
// most kMaxLineLength characters, without its line feed.
#ifndef KELVORN_TEXT_LINEREADER_H
#define KELVORN_TEXT_LINEREADER_H

#include <cstddef>
#include <cstdio>
#include <string_view>

#include "store/ChunkedFile.h"

namespace kelvorn_private {

class LineReader {
 public:
  // Lines longer than this are cut to it; the rest, up to the line feed, is
  // skipped so that the next line is read whole.
  static constexpr std::size_t kMaxLineLength = 511;

  // Reads from an open file; the caller keeps ownership of it.
  explicit LineReader(std::FILE* file) : chunks_(file) {}
  // Reads text in memory, which the caller keeps alive.
  explicit LineReader(std::string_view text)
      : chunks_(reinterpret_cast<const unsigned char*>(text.data()), text.size()),
        chunkHasNul_(text.find('\0') != std::string_view::npos) {}

  // Sets *line to the next line and returns true, or returns false at the end
  // of the file (or when a read fails). A carriage return before the line
  // feed is dropped, as a text-mode stream would; a line ends at a zero byte
  // as a C string does. The view is valid until the next call.
  bool next(std::string_view* line);

 private:
  bool refill();
  void skipToLineFeed();
  std::string_view trim(const char* begin, std::size_t length, bool endedByLineFeed) const;

  ChunkedFile chunks_;
  // Whether the bytes at hand hold a zero byte. Text holds none, so one
  // search a chunk spares one a line.
  bool chunkHasNul_ = false;
  char longLine_[kMaxLineLength + 1] = {};
};

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_LINEREADER_H
