// Helpers shared by the tests: temporary files and the char* arguments that
// the public interface takes.
#ifndef KELVORN_TESTS_TESTSUPPORT_H
#define KELVORN_TESTS_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"

namespace testsupport {

// A path in the test's temporary directory, unique to the running test.
inline std::string tempPath(const std::string& name) {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  return testing::TempDir() + info->test_suite_name() + "." + info->name() + "." + name;
}

inline std::string writeFile(const std::string& name, const std::string& bytes) {
  const std::string path = tempPath(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool fileExists(const std::string& path) {
  return std::ifstream(path).good();
}

// The interface takes mutable C strings; the copy lives until the statement
// that made it ends.
struct CPath {
  explicit CPath(const std::string& s) : chars(s.begin(), s.end()) { chars.push_back('\0'); }
  operator char*() { return chars.data(); }
  std::vector<char> chars;
};

inline int loadText(kelvorn::UnihanMgr& mgr, const std::string& text) {
  return mgr.readUnihan(CPath(writeFile("input.txt", text)));
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

// Every answer the store gives for one code point, as one string, so that
// two stores can be compared code point by code point.
inline std::string describe(kelvorn::UnihanMgr& mgr, int cp) {
  std::string s;
  auto add = [&s](int v) { s += std::to_string(v) + ','; };
  for (int source = 0; source < 6; ++source) {
    for (int k = 0; k < 3; ++k) {
      add(mgr.radix(cp, static_cast<kelvorn::unihanPropT>(source), k));
      add(mgr.stroke(cp, static_cast<kelvorn::unihanPropT>(source), k));
    }
  }
  for (int k = 0; k < 3; ++k) {
    add(mgr.radix(cp, k));
    add(mgr.stroke(cp, k));
    add(mgr.getVantuCID(cp, k));
    add(mgr.totalVantuStrokes(cp, k));
  }
  add(mgr.totalStrokes(cp));
  for (int prop = 0; prop < 12; ++prop) add(mgr.getNumVals(cp, static_cast<kelvorn::unihanPropT>(prop)));
  for (int prop = 7; prop <= 10; ++prop) {
    for (const std::string& r : readings(mgr, cp, static_cast<kelvorn::unihanPropT>(prop))) s += r + ' ';
    s += '|';
  }
  int v = 0, p = 0, pos = 0, virt = 0;
  add(mgr.getkHanYuData(static_cast<unsigned int>(cp), &v, &p, &pos, &virt));
  add(v), add(p), add(pos), add(virt);
  return s;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_TESTSUPPORT_H
