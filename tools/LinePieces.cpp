#include "LinePieces.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/files/FileDescriptor.h"
#include "kelvorn/Unihan.h"

namespace unihan_tool {
namespace {

constexpr std::size_t kReadSize = 1 << 16;

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U; }

}  // namespace

LinePieces::LinePieces(int fd, std::string name, std::size_t maxPiece, std::size_t limit)
    : fd_(fd), name_(std::move(name)), maxPiece_(maxPiece), left_(limit) {}

std::string_view LinePieces::next(const std::function<void()>& beforeWait) {
  for (;;) {
    const std::string_view unread = std::string_view(buffer_).substr(start_);
    const std::size_t feed = unread.find('\n', searched_);
    std::size_t length = 0;
    if (feed != std::string_view::npos && feed < maxPiece_) {
      length = feed + 1;
    } else if (unread.size() > maxPiece_) {
      length = maxPiece_;
      // A valid sequence is at most four bytes, so its lead is at most
      // three back; an invalid one is cut anywhere and refused whole later.
      for (int back = 0; back < 3 && isContinuation(unread[length]); ++back) --length;
    } else if (ended_) {
      length = unread.size();
    } else {
      searched_ = unread.size();
      beforeWait();
      if (!readMore()) ended_ = true;
      continue;
    }
    start_ += length;
    searched_ = 0;
    return unread.substr(0, length);
  }
}

bool LinePieces::readMore() {
  // What was handed out is dropped first, so the buffer holds at most one
  // piece and one read.
  buffer_.erase(0, start_);
  start_ = 0;
  const std::size_t want = std::min(kReadSize, left_);
  if (want == 0) return false;
  const std::size_t held = buffer_.size();
  buffer_.resize(held + want);
  for (;;) {
    const ssize_t got = ::read(fd_, &buffer_[held], want);
    if (got >= 0) {
      buffer_.resize(held + static_cast<std::size_t>(got));
      left_ -= static_cast<std::size_t>(got);
      return got > 0;
    }
    const int err = errno;
    if (err == EINTR) continue;
    if (err == EAGAIN || err == EWOULDBLOCK) {
      // A descriptor left non-blocking by whoever gave it: wait for data.
      pollfd ready{fd_, POLLIN, 0};
      (void)::poll(&ready, 1, -1);
      continue;
    }
    buffer_.resize(held);
    throw kelvorn::Error(name_ + ": cannot read (" + kelvorn_files::errorText(err) + ")", err);
  }
}

}  // namespace unihan_tool
