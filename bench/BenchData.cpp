#include "BenchData.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <iterator>
#include <utility>

#include "support/TempDir.h"

using kelvorn::UnihanMgr;

namespace benchdata {
namespace {

// Removed by its destructor when the program exits, also through fail().
const testsupport::TempDir& tempDir() {
  static const testsupport::TempDir dir("kelvorn-bench");
  return dir;
}

void fail(const std::string& what) {
  std::fprintf(stderr, "kelvorn_bench: %s\n", what.c_str());
  std::exit(1);
}

// The first field of every "U+" line; the file is sorted by code point, so a
// code point's lines are adjacent.
std::vector<int> parseCodePoints() {
  std::ifstream in(textPath());
  if (!in) fail("cannot open " + textPath());
  std::vector<int> cps;
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, 2, "U+") != 0) continue;
    const int cp = static_cast<int>(std::strtol(line.c_str() + 2, nullptr, 16));
    if (cps.empty() || cps.back() != cp) cps.push_back(cp);
  }
  return cps;
}

}  // namespace

const std::string& textPath() {
  static const std::string path = KELVORN_BENCH_DATA;
  return path;
}

std::string tempPath(const std::string& name) { return tempDir().file(name); }

UnihanMgr& textStore() {
  static UnihanMgr* store = [] {
    auto* m = new UnihanMgr;
    if (m->readUnihan(CPath(textPath())) != 0) fail("cannot load " + textPath());
    return m;
  }();
  return *store;
}

const std::string& imagePath() {
  static const std::string path = [] {
    std::string p = tempPath("image.bin");
    if (textStore().write(CPath(p), 1) != 0) fail("cannot write " + p);
    return p;
  }();
  return path;
}

const std::string& image() {
  static const std::string bytes = readFile(imagePath());
  return bytes;
}

const std::vector<int>& codePoints() {
  static const std::vector<int> cps = shuffled(parseCodePoints());
  return cps;
}

const std::vector<int>& missingCodePoints() {
  static const std::vector<int> cps = [] {
    std::vector<int> held = codePoints();
    std::sort(held.begin(), held.end());
    std::vector<int> missing;
    for (int cp = 0; cp <= held.back(); ++cp) {
      if (!std::binary_search(held.begin(), held.end(), cp)) missing.push_back(cp);
    }
    return shuffled(std::move(missing));
  }();
  return cps;
}

std::size_t countKnownCodePoints() {
  std::size_t n = 0;
  const int last = *std::max_element(codePoints().begin(), codePoints().end());
  for (int cp = 0; cp <= last + 1; ++cp) {
    if (textStore().getNumVals(cp, kelvorn::kMandarin) != -1) ++n;
  }
  return n;
}

const std::vector<unsigned>& cids() {
  static const std::vector<unsigned> list = [] {
    std::vector<unsigned> v;
    for (unsigned cid = 0; cid <= 0xFFFF; ++cid) {
      if (textStore().getUTF32ForCID(cid) != -1) v.push_back(cid);
    }
    return shuffled(std::move(v));
  }();
  return list;
}

}  // namespace benchdata
