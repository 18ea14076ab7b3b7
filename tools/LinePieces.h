// Text read a line at a time from a descriptor, in memory bounded by one
// piece, so that a filter (convert) answers each line as it comes and an
// endless line cannot take the machine's memory.
#ifndef KELVORN_TOOLS_LINEPIECES_H
#define KELVORN_TOOLS_LINEPIECES_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace unihan_tool {

class LinePieces {
 public:
  // Reads `fd` (not owned) up to its end, or up to `limit` bytes when that
  // is smaller: a file is read as far as the size it had when it was
  // opened, so one that grows meanwhile cannot keep the read going. `name`
  // names the input in messages.
  LinePieces(int fd, std::string name, std::size_t maxPiece, std::size_t limit);

  // The next piece of the text: a whole line with its line feed, the last
  // line without one, or, of a line longer than maxPiece bytes, its next
  // maxPiece bytes or up to three fewer, so that no UTF-8 sequence is cut.
  // Empty once the input has ended. `beforeWait` runs before every read
  // that may wait for input, so that the answers to the lines read so far
  // can go out first. Throws kelvorn::Error when the input cannot be read.
  std::string_view next(const std::function<void()>& beforeWait);

 private:
  bool readMore();

  int fd_;
  std::string name_;
  std::size_t maxPiece_;
  std::size_t left_;         // bytes the limit still allows
  std::string buffer_;       // unread text from start_ on
  std::size_t start_ = 0;
  std::size_t searched_ = 0;  // bytes from start_ known to hold no line feed
  bool ended_ = false;
};

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_LINEPIECES_H
