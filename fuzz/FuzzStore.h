// Helpers shared by the fuzz targets: files that live in memory, and every
// answer a store gives around the code points its blocks hold.
#ifndef KELVORN_FUZZ_FUZZSTORE_H
#define KELVORN_FUZZ_FUZZSTORE_H

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/UnihanData.h"
#include "support/Answers.h"
#include "support/CidTable.h"

namespace fuzzstore {

// A file without a name on disk, reached through /proc/self/fd so that the
// library can open it by path as it would any other. One per use, made once
// per process and rewritten for each input.
class MemFile {
 public:
  explicit MemFile(const char* name) : fd_(memfd_create(name, 0)) {
    if (fd_ < 0) std::abort();
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  MemFile(const MemFile&) = delete;
  MemFile& operator=(const MemFile&) = delete;

  char* path() { return &path_[0]; }

  void put(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
      if (n <= 0) std::abort();
      done += static_cast<std::size_t>(n);
    }
  }

  std::vector<char> get() {
    struct stat st;
    if (fstat(fd_, &st) != 0) std::abort();
    std::vector<char> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
      if (n <= 0) std::abort();
      done += static_cast<std::size_t>(n);
    }
    return bytes;
  }

 private:
  int fd_;
  std::string path_;
};

// A fault the sanitizers cannot see: say what it was and stop, so that
// libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what) {
  (void)std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Folds every query's answer for one code point into *h. A hash rather
// than a text of the answers: building strings cost more than the queries.
inline void mix(std::uint64_t* h, std::uint64_t v) { *h = (*h ^ v) * 0x100000001B3ull; }

inline void describe(const kelvorn_private::UnihanData& s, int cp, std::uint64_t* h) {
  testsupport::forEachAnswer(
      s, cp, [h](int v) { mix(h, static_cast<std::uint32_t>(v)); },
      [h](const std::string& r) {
        for (char c : r) mix(h, static_cast<unsigned char>(c));
        mix(h, 0x100);
      });
}

// The code points worth asking about: two either side of each block's ends
// and the first few inside it, for the first and the last few blocks.
// Values past the int range are left out.
inline std::vector<int> probePoints(const kelvorn_private::UnihanData& s, std::size_t endBlocks,
                                    std::int64_t perBlock) {
  std::vector<int> points;
  auto addRange = [&points](std::int64_t from, std::int64_t to) {
    for (std::int64_t cp = from; cp <= to; ++cp) {
      if (cp >= INT32_MIN && cp <= INT32_MAX) points.push_back(static_cast<int>(cp));
    }
  };
  const std::size_t count = s.blocks().size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i == endBlocks && count > 2 * endBlocks) i = count - endBlocks;
    const std::int64_t first = s.blocks()[i].first, last = s.blocks()[i].last;
    const std::int64_t head = last >= first && last - first < perBlock ? last : first + perBlock;
    addRange(first - 2, head + 2);
    if (last > head + 2) addRange(std::max(head + 3, last - 2), last + 2);
  }
  // Every lookup costs at most a binary search, so the budget only keeps
  // one input's work small.
  const std::size_t budget = 512;
  if (points.size() > budget) points.resize(budget);
  return points;
}

inline std::uint64_t describeAll(const kelvorn_private::UnihanData& s, const std::vector<int>& points) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  for (int cp : points) describe(s, cp, &h);
  using testsupport::kFirstTableCid;
  using testsupport::kFoldedCid;
  using testsupport::kLastTableCid;
  for (std::uint32_t cid : {0u, kFoldedCid - 1, kFoldedCid, kFoldedCid + 1, kFirstTableCid - 1,
                            kFirstTableCid, kFirstTableCid + 1, kLastTableCid - 1, kLastTableCid,
                            kLastTableCid + 1, kLastTableCid + 2, 65535u, 0xFFFFFFFFu}) {
    mix(&h, static_cast<std::uint32_t>(s.getUTF32ForCID(cid)));
  }
  return h;
}

// True when two stores hold the same records and the same CID table. The
// image carries every record; a store too large for one is compared by its
// dump. Cheaper than asking every query, and it implies the answers.
inline bool sameStore(const kelvorn_private::UnihanData& a, const kelvorn_private::UnihanData& b) {
  std::string imageA, imageB;
  if (a.valid() != b.valid() || a.versionMajor() != b.versionMajor() || a.versionMinor() != b.versionMinor() ||
      a.imageBytes(&imageA) != b.imageBytes(&imageB) || imageA != imageB ||
      (imageA.empty() && a.dumpBytes() != b.dumpBytes())) {
    return false;
  }
  for (std::size_t slot = 0; slot < kelvorn_private::kCidTableSize; ++slot) {
    if (a.cidEntry(slot) != b.cidEntry(slot)) return false;
  }
  return true;
}

}  // namespace fuzzstore

#endif  // KELVORN_FUZZ_FUZZSTORE_H
