// What the GoogleTest suites share on top of the support library: loading
// text and images through the public interface from files in the running
// test's own temporary directory.
#ifndef KELVORN_TESTS_TESTSUPPORT_H
#define KELVORN_TESTS_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"
#include "support/Answers.h"
#include "support/Files.h"
#include "support/TestDir.h"

namespace testsupport {

// A file named `name` in the running test's directory, holding `bytes`.
inline std::string testFile(const std::string& name, const std::string& bytes) {
  return writeFile(tempPath(name), bytes);
}

// One line of Unihan text.
inline std::string dataLine(int cp, const std::string& field, const std::string& value) {
  char head[16];
  std::snprintf(head, sizeof head, "U+%04X\t", static_cast<unsigned int>(cp));
  return head + field + '\t' + value + '\n';
}

inline int loadText(kelvorn::UnihanMgr& mgr, const std::string& text) {
  return mgr.readUnihan(CPath(testFile("input.txt", text)));
}

inline std::string writeImage(kelvorn::UnihanMgr& mgr, int mode = 1) {
  const std::string path = tempPath(mode == 0 ? "dump.txt" : "image.bin");
  EXPECT_EQ(mgr.write(CPath(path), mode), 0);
  return readFile(path);
}

// Loads an image from a heap block of exactly its size, so that a read past
// the end is caught by the sanitizers.
inline int loadBuffer(kelvorn::UnihanMgr& mgr, const std::string& image, std::size_t len) {
  std::vector<char> exact(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(len));
  return mgr.readUnihanBinaryBuf(exact.empty() ? nullptr : exact.data(),
                                 static_cast<unsigned int>(len));
}

inline std::vector<std::string> readings(kelvorn::UnihanMgr& mgr, int cp, kelvorn::unihanPropT prop) {
  std::vector<std::string> out;
  mgr.getPronounceData(out, cp, prop);
  return out;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_TESTSUPPORT_H
