// Several threads querying one loaded store at once get the answers one
// thread gets alone. Run under ThreadSanitizer by scripts/test, where a
// query that wrote to the store, or read something a query writes, would be
// reported as a race.
#include <thread>

#include "TestSupport.h"

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

}  // namespace
