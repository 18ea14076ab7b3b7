#include "app/TextFeed.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <thread>
#include <vector>

#include "app/files/FileDescriptor.h"
#include "kelvorn/Unihan.h"

namespace kelvorn_app_private {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kChunk = 1 << 16;

// Writes every byte or fails; false once the reader has gone (EPIPE) or on
// any other error.
bool writeAllTo(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// Hands each chunk of the text to `write` until it answers false or the
// text ends.
using Producer = std::function<void(const std::function<bool(std::string_view)>& write)>;

// Runs the producer on a thread of its own, writing into a pipe whose read
// end the core opens by path. SIGPIPE is blocked on that thread, so a core
// that stops reading early ends the writes with EPIPE, not the process.
void feed(kelvorn::UnihanMgr& mgr, const Producer& produce, const std::string& name) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    throw kelvorn::Error(name + ": cannot read (" + kelvorn_files::errorText(errno) + ")", errno);
  }
  kelvorn_files::FileDescriptor readEnd(ends[0]);
  kelvorn_files::FileDescriptor writeEnd(ends[1]);
  std::thread writer([&produce, &writeEnd] {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
    produce([&writeEnd](std::string_view chunk) { return writeAllTo(writeEnd.get(), chunk); });
    (void)writeEnd.close();
  });
  std::string path = readEnd.procPath();
  const int status = mgr.readUnihan(path.data());
  (void)readEnd.close();  // a writer still going gets EPIPE and stops
  writer.join();
  if (status != 0) throw kelvorn::Error(name + ": cannot open for reading");
}

bool sameState(const struct stat& a, const struct stat& b) {
  return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
         a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

void feedFile(kelvorn::UnihanMgr& mgr, int fd, const std::string& name) {
  struct stat before {};
  if (::fstat(fd, &before) != 0) {
    throw kelvorn::Error(name + ": cannot read (" + kelvorn_files::errorText(errno) + ")", errno);
  }
  const auto size = static_cast<std::size_t>(std::max<off_t>(before.st_size, 0));
  std::size_t fed = 0;
  int readError = 0;
  feed(
      mgr,
      [&](const std::function<bool(std::string_view)>& write) {
        std::vector<char> buffer(kChunk);
        while (fed < size) {
          const std::size_t want = std::min(kChunk, size - fed);
          const ssize_t got = ::pread(fd, buffer.data(), want, static_cast<off_t>(fed));
          if (got < 0 && errno == EINTR) continue;
          if (got <= 0) {
            readError = got < 0 ? errno : 0;
            return;
          }
          std::string_view chunk(buffer.data(), static_cast<std::size_t>(got));
          if (fed == 0 && chunk.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            chunk.remove_prefix(kByteOrderMark.size());
          }
          fed += static_cast<std::size_t>(got);
          if (!write(chunk)) return;
        }
      },
      name);
  if (readError != 0) {
    throw kelvorn::Error(name + ": cannot read (" + kelvorn_files::errorText(readError) + ")",
                         readError);
  }
  struct stat after {};
  if (fed != size || ::fstat(fd, &after) != 0 || !sameState(before, after)) {
    throw kelvorn::Error(name + ": changed while it was read; nothing was loaded");
  }
}

void feedBytes(kelvorn::UnihanMgr& mgr, std::string_view bytes, const std::string& name) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  feed(
      mgr,
      [bytes](const std::function<bool(std::string_view)>& write) {
        for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
          if (!write(bytes.substr(at, kChunk))) return;
        }
      },
      name);
}

}  // namespace kelvorn_app_private
