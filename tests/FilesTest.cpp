// The file helpers the tool and the application share: reading a stream up
// to a limit, and the staging registry that lets a signal remove what a
// write left half done.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/files/FileDescriptor.h"
#include "app/files/StagedOutput.h"
#include "app/files/StagingRegistry.h"
#include "kelvorn/Unihan.h"
#include "support/TempDir.h"

namespace {

// What readStream makes of `content` written into a pipe by another thread.
std::string throughPipe(const std::string& content, std::size_t limit) {
  int ends[2];
  EXPECT_EQ(::pipe(ends), 0);
  std::thread writer([&content, fd = ends[1]] {
    std::size_t put = 0;
    while (put < content.size()) {
      const ssize_t n = ::write(fd, content.data() + put, content.size() - put);
      if (n <= 0) break;  // the reader gave up
      put += static_cast<std::size_t>(n);
    }
    ::close(fd);
  });
  std::string got;
  try {
    got = kelvorn_files::readStream(ends[0], limit, "the pipe", "too large");
  } catch (...) {
    ::close(ends[0]);
    writer.join();
    throw;
  }
  ::close(ends[0]);
  writer.join();
  return got;
}

TEST(ReadStream, TakesItsLimitWholeAndRefusesOneByteMore) {
  std::string content;
  for (std::size_t i = 0; i < (2U << 20) + 3; ++i) content.push_back(static_cast<char>(i * 7));
  // Past one piece of a megabyte and into the third, byte for byte.
  EXPECT_EQ(throughPipe(content, content.size()), content);
  EXPECT_THROW(throughPipe(content, content.size() - 1), kelvorn::Error);
  EXPECT_EQ(throughPipe("", 0), "");
  EXPECT_EQ(throughPipe("x", 1), "x");
  EXPECT_THROW(throughPipe("xy", 1), kelvorn::Error);
}

TEST(ReadStream, NamesAFailedRead) {
  const testsupport::TempDir dir("kelvorn-files");
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  try {
    (void)kelvorn_files::readStream(fd, 1 << 20, "standard input", "too large");
    ADD_FAILURE() << "a directory read as a stream";
  } catch (const kelvorn::Error& e) {
    EXPECT_EQ(e.systemError(), EISDIR);
    EXPECT_NE(std::string(e.what()).find("standard input: cannot read"), std::string::npos);
  }
  ::close(fd);
}

int stagingFilesIn(const std::filesystem::path& dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    count += entry.path().filename().string().rfind(".unihan-", 0) == 0 ? 1 : 0;
  }
  return count;
}

// An output gives its registry slot back once, committed, failed or given up, and only its own:
// the slot of an output still being written stays registered, so a signal removes its staging
// file. Run in a child, which the signal ends.
TEST(StagedOutput, ACommittedOutputLeavesTheOthersToTheSignal) {
  const testsupport::TempDir dir("kelvorn-staging");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // More of each than the registry has slots; the longer names come first.
    for (int i = 0; i < 40; ++i) kelvorn_files::StagedOutput dropped(dir.file("./dropped.txt"));
    for (int i = 0; i < 20; ++i) EXPECT_THROW(kelvorn_files::StagedOutput(dir.file("no/such.txt")), kelvorn::Error);
    std::unique_ptr<kelvorn_files::StagedOutput> done;  // each made while the last is alive
    for (int i = 0; i < 40; ++i) {
      done = std::make_unique<kelvorn_files::StagedOutput>(dir.file("done.txt"));
      done->write("done");
      done->commit();
    }
    ::close(STDIN_FILENO);  // the first held gets descriptor 0
    std::vector<std::unique_ptr<kelvorn_files::StagedOutput>> held;
    for (int i = 0; i < 20; ++i) held.push_back(std::make_unique<kelvorn_files::StagedOutput>(dir.file("held.txt")));
    held.resize(16);  // those left unrecorded give none back
    done.reset();
    kelvorn_files::removeStagingFilesOnSignals();
    std::raise(SIGTERM);
    ::_exit(0);  // not reached: the default action ends the child
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(stagingFilesIn(dir.path()), 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("done.txt")));
}

}  // namespace
