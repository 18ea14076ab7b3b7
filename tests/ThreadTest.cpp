// Several threads querying one loaded store at once get the answers one
// thread gets alone. Run under ThreadSanitizer by scripts/test, where a
// query that wrote to the store, or read something a query writes, would be
// reported as a race.
#include <thread>

#include "TestSupport.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanIndex.h"

using kelvorn::UnihanMgr;
using testsupport::CPath;

namespace {

TEST(Threads, QueriesOnOneStoreRunAtOnce) {
  UnihanMgr shared;
  ASSERT_EQ(shared.readUnihan(CPath(KELVORN_TEST_DATA)), 0);
  constexpr int kThreads = 8;
  constexpr int kFirst = 0x4E00;
  constexpr int kCount = 4000;
  std::vector<std::string> expected(kCount);
  for (int i = 0; i < kCount; ++i) expected[i] = testsupport::describe(shared, kFirst + i);

  // Copies are taken before the threads start: copying is not thread-safe.
  std::vector<UnihanMgr> handles(kThreads, shared);
  std::vector<int> mismatches(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      UnihanMgr& mine = t % 2 == 0 ? shared : handles[static_cast<std::size_t>(t)];
      for (int i = t; i < kCount + t; ++i) {
        const int at = i % kCount;
        if (testsupport::describe(mine, kFirst + at) != expected[static_cast<std::size_t>(at)]) {
          ++mismatches[static_cast<std::size_t>(t)];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[static_cast<std::size_t>(t)], 0) << t;
}

// Handles of one store made and dropped in many threads at once: each
// thread its own core() copies, copies of those, and an index built over
// core(). The count they share is the store's reference count, so a count
// that is not atomic loses an update and frees the store under a live
// handle (or never frees it), which ThreadSanitizer names as a race.
TEST(Threads, HandlesOfOneStoreAreMadeAndDroppedAtOnce) {
  std::string text;
  for (int cp = 0x4E00; cp < 0x4E40; ++cp) {
    text += testsupport::dataLine(cp, "kRSUnicode", std::to_string(1 + cp % 200) + ".3");
    text += testsupport::dataLine(cp, "kMandarin", "yī");
  }
  const kelvorn::Unihan unihan = kelvorn::Unihan::fromMemory(text);
  constexpr int kThreads = 8;
  constexpr int kRounds = 2000;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      int& mine = wrong[static_cast<std::size_t>(t)];
      for (int round = 0; round < kRounds; ++round) {
        UnihanMgr core = unihan.core();
        UnihanMgr copy(core);
        core = copy;
        const kelvorn::Unihan again = unihan;
        mine += copy.radix(0x4E00 + round % 0x40, kelvorn::kRSUnicode, 0) !=
                1 + (0x4E00 + round % 0x40) % 200;
        mine += !again.contains(U'\u4E00');
      }
      const kelvorn::UnihanIndex index(unihan.core());
      mine += index.byReading("yī").size() != 0x40;
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[static_cast<std::size_t>(t)], 0) << t;
}

}  // namespace
