// Sharing and lifetime of handles. Leaks and use after free show up under the
// sanitizer and valgrind runs of these tests.
#include <malloc.h>

#include "TestSupport.h"

using kelvorn::UnihanMgr;
using testsupport::CPath;
using testsupport::loadText;
using testsupport::testFile;

namespace {

const char kOneChar[] = "U+4E00\tkRSUnicode\t1.0\nU+4E00\tkTotalStrokes\t1\n";

TEST(Handle, NewStoreIsEmptyAndVersionOneFour) {
  UnihanMgr mgr;
  EXPECT_FALSE(mgr.IsValid());
  EXPECT_TRUE(mgr.VersionCheck(1, 4));
  EXPECT_FALSE(mgr.VersionCheck(1, 3));
  EXPECT_FALSE(mgr.VersionCheck(4, 1));
  EXPECT_EQ(mgr.totalStrokes(0x4E00), -1);
  EXPECT_EQ(mgr.getNumVals(0x4E00, kelvorn::kMandarin), -1);
  for (unsigned int cid : {0u, 656u, 1124u, 23057u, 0xFFFFFFFFu}) {
    EXPECT_EQ(mgr.getUTF32ForCID(cid), -1) << cid;
  }
}

TEST(Handle, CopiesShareOneStoreAndOutliveEachOther) {
  auto* original = new UnihanMgr;
  UnihanMgr copy(*original);
  ASSERT_EQ(loadText(copy, kOneChar), 0);
  EXPECT_TRUE(original->IsValid());  // loaded through the copy, seen by both
  EXPECT_EQ(original->totalStrokes(0x4E00), 1);
  delete original;                   // the copy keeps the store alive
  EXPECT_EQ(copy.totalStrokes(0x4E00), 1);

  UnihanMgr other;
  other = copy;  // other's empty store is released, copy's shared
  EXPECT_EQ(other.radix(0x4E00, kelvorn::kRSUnicode, 0), 1);
  UnihanMgr& alias = other;
  other = alias;  // self-assignment keeps the store
  EXPECT_EQ(other.radix(0x4E00, kelvorn::kRSUnicode, 0), 1);

  UnihanMgr fresh;
  copy = fresh;  // copy now shares fresh's store; other still holds the loaded one
  EXPECT_FALSE(copy.IsValid());
  EXPECT_TRUE(other.IsValid());
  ASSERT_EQ(loadText(fresh, kOneChar), 0);
  EXPECT_TRUE(copy.IsValid());
}

TEST(Handle, ManyHandlesReleaseInAnyOrder) {
  std::vector<UnihanMgr*> handles{new UnihanMgr};
  ASSERT_EQ(loadText(*handles[0], kOneChar), 0);
  for (int i = 0; i < 50; ++i) handles.push_back(new UnihanMgr(*handles[static_cast<std::size_t>(i) / 2]));
  for (std::size_t i = 0; i < handles.size(); i += 2) delete handles[i];
  for (std::size_t i = 1; i < handles.size(); i += 2) {
    EXPECT_EQ(handles[i]->totalStrokes(0x4E00), 1);
    delete handles[i];
  }
}

// Bytes the allocator holds for the program; 0 where it cannot say (the
// sanitizers' allocators), which leaves the leak check to LeakSanitizer.
std::size_t heapInUse() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#else
  return 0;
#endif
}

// Every way a handle lets go of a store, many times over: a store that is
// not freed shows as growth of the heap (each holds its CID table of
// 88 KB), and under the sanitizers as a leak; one freed early, as a use
// after free.
TEST(Handle, EveryReleaseFreesTheStoreOnce) {
  const std::string path = testFile("input.txt", kOneChar);
  const std::size_t before = heapInUse();
  for (int round = 0; round < 100; ++round) {
    UnihanMgr a;
    ASSERT_EQ(a.readUnihan(CPath(path)), 0);
    UnihanMgr b(a), c;
    c = b;               // c's own store goes
    b = UnihanMgr();     // b takes a new store; a and c still share theirs
    UnihanMgr& same = c;
    c = same;
    a = c;               // already shared: nothing taken or released
    ASSERT_EQ(b.readUnihan(CPath(path)), 0);
    c = b;
    EXPECT_EQ(a.totalStrokes(0x4E00), 1);
    EXPECT_EQ(c.totalStrokes(0x4E00), 1);
  }
  EXPECT_LT(heapInUse(), before + 64 * 1024);
}

}  // namespace
