// Edges that the other suites passed by: an empty store's image, a long last
// line without a line feed, a compatibility ideograph whose target carries
// radical marks, the spill arena's 4 GiB reach, interrupted and failed reads,
// and a save into a directory that its writer cannot open.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <grp.h>
#include <pthread.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <optional>
#include <string>
#include <thread>

#include "FieldsTestSupport.h"
#include "TestSupport.h"
#include "app/files/BundledFiles.h"
#include "app/files/FileDescriptor.h"
#include "app/files/StagedOutput.h"
#include "app/files/StagingRegistry.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanImage.h"
#include "kelvorn/UnihanIndex.h"
#include "store/UnihanData.h"

namespace {

using testsupport::readFile;
using testsupport::tempPath;
using testsupport::testFile;

// An empty store's image is its header alone, the shortest image there is.
TEST(EdgeCases, AHeaderOnlyImageIsAnEmptyStore) {
  const std::string image = kelvorn::Unihan().bytes();
  ASSERT_EQ(image.size(), kelvorn::kImageHeaderLength);
  for (const kelvorn::Unihan& loaded :
       {kelvorn::Unihan::fromMemory(image), kelvorn::Unihan::open(testFile("empty.bin", image))}) {
    EXPECT_TRUE(loaded.codePoints().empty());
    EXPECT_EQ(loaded.bytes(), image);
  }
  EXPECT_THROW(kelvorn::Unihan::fromMemory(image.substr(0, image.size() - 1)), kelvorn::Error);
}

// A handle constructed from itself has no store to share: it answers as an
// empty store would, and every load and write fails.
TEST(EdgeCases, AHandleBuiltFromItselfHoldsNoStore) {
  alignas(kelvorn::UnihanMgr) unsigned char raw[sizeof(kelvorn::UnihanMgr)] = {};
  auto* self = reinterpret_cast<kelvorn::UnihanMgr*>(raw);
  new (self) kelvorn::UnihanMgr(*self);
  std::string image = kelvorn::Unihan().bytes();
  const std::string text = testFile("one.txt", "U+4E00\tkTotalStrokes\t1\n");
  EXPECT_EQ(self->readUnihanBinaryBuf(image.data(), static_cast<unsigned int>(image.size())), 0);
  EXPECT_EQ(self->readUnihan(testsupport::CPath(text)), -1);
  EXPECT_EQ(self->readUnihanBinary(testsupport::CPath(testFile("empty.bin", image))), -1);
  EXPECT_EQ(self->write(testsupport::CPath(tempPath("out.bin")), 1), -1);
  EXPECT_FALSE(self->IsValid());
  const int answers[] = {self->radix(0x4E00, kelvorn::kRSUnicode, 0), self->radix(0x4E00, 0),
                         self->stroke(0x4E00, kelvorn::kRSUnicode, 0), self->stroke(0x4E00, 0),
                         self->totalStrokes(0x4E00), self->getVantuCID(0x4E00, 0),
                         self->totalVantuStrokes(0x4E00, 0), self->getUTF32ForCID(1),
                         self->getNumVals(0x4E00, kelvorn::kMandarin)};
  for (const int answer : answers) EXPECT_EQ(answer, -1);
  int volume = 0, page = 0, position = 0, virtualFlag = 0;
  EXPECT_EQ(self->getkHanYuData(0x4E00, &volume, &page, &position, &virtualFlag), -1);
  self->~UnihanMgr();
}

// The reader moves a line it has not finished to the front of its buffer
// before it reads on; a last line longer than the lines before it lands on
// bytes of its own, so a stale view of it would read garbage.
TEST(EdgeCases, ALongLastLineWithoutLineFeed) {
  const std::string reading(100, 'a');
  kelvorn::UnihanMgr mgr;
  ASSERT_EQ(testsupport::loadText(mgr, "U+4E00\tkTotalStrokes\t1\nU+4E01\tkMandarin\t" + reading), 0);
  EXPECT_EQ(testsupport::readings(mgr, 0x4E01, kelvorn::kMandarin), std::vector<std::string>{reading});
  EXPECT_EQ(mgr.totalStrokes(0x4E00), 1);
}

// The lowest field of the table that a line names anywhere is its field,
// even when another field's name comes first.
TEST(EdgeCases, TheLowestFieldNamedInALineIsItsField) {
  kelvorn::UnihanMgr mgr;
  ASSERT_EQ(testsupport::loadText(mgr, "U+4E00\tkMandarin\t3 kTotalStrokes\n"
                                       "U+4E01\tkRSKangXi\t5.1 kRSUnicode kRSKanWa\n"), 0);
  EXPECT_EQ(mgr.totalStrokes(0x4E00), 3);
  EXPECT_EQ(mgr.radix(0x4E01, kelvorn::kRSUnicode, 0), 5);
  EXPECT_EQ(mgr.getNumVals(0x4E00, kelvorn::kMandarin), 0);
}

// An image cut inside a character record keeps the characters before it and
// of that one the values read in full: none is made up.
TEST(EdgeCases, AnImageCutInsideACharacterInventsNoValue) {
  struct Value {
    int cp;
    kelvorn::unihanPropT source;
    int radical;
  };
  const Value values[] = {{0x4E00, kelvorn::kRSUnicode, 1},  {0x4E01, kelvorn::kRSUnicode, 9},
                          {0x4E01, kelvorn::kRSKangXi, 10}, {0x4E01, kelvorn::kRSKanWa, 11},
                          {0x4E01, kelvorn::kRSKorean, 12}, {0x4E02, kelvorn::kRSUnicode, 13},
                          {0x4E02, kelvorn::kRSVantu_Japan1_6, 13}};
  kelvorn::UnihanMgr whole;
  ASSERT_EQ(testsupport::loadText(whole,
                                  "U+4E00\tkTotalStrokes\t5\nU+4E00\tkRSUnicode\t1.4\n"
                                  "U+4E01\tkTotalStrokes\t7\nU+4E01\tkRSUnicode\t9.3\n"
                                  "U+4E01\tkRSKangXi\t10.4\nU+4E01\tkRSKanWa\t11.5\n"
                                  "U+4E01\tkRSKorean\t12.6\nU+4E02\tkTotalStrokes\t6\nU+4E02\tkRSUnicode\t13.1\n"
                                  "U+4E02\tkRSVantu_Japan1_6\tC+3000+13.1.1 V+3001+13.1.1\n"),
            0);
  bool answered[std::size(values)] = {};  // at a shorter cut
  int strokesRank[3] = {};  // the last cut's: no record, an empty one, the count
  const std::string image = testsupport::writeImage(whole);
  for (std::size_t len = kelvorn::kImageHeaderLength; len < image.size(); ++len) {
    kelvorn::UnihanMgr cut;
    (void)testsupport::loadBuffer(cut, image, len);
    for (const auto& [cp, strokes] : {std::pair{0x4E00, 5}, std::pair{0x4E01, 7}, std::pair{0x4E02, 6}}) {
      const int got = cut.totalStrokes(cp);
      EXPECT_TRUE(got == -1 || got == 0 || got == strokes) << len << ": " << got;
      // Only the record the cut falls in is kept empty, none after it.
      const int rank = got == -1 ? 0 : got == 0 ? 1 : 2;
      EXPECT_GE(rank, strokesRank[cp - 0x4E00]) << len << ": " << got;
      strokesRank[cp - 0x4E00] = rank;
    }
    for (std::size_t i = 0; i < std::size(values); ++i) {
      const int got = cut.radix(values[i].cp, values[i].source, 0);
      EXPECT_TRUE(got == -1 || got == values[i].radical) << len << ": " << got;
      // A value read in full stays read at every longer cut, however few of
      // the record's CID entries are whole.
      EXPECT_TRUE(!answered[i] || got == values[i].radical) << len << ": " << i;
      answered[i] = answered[i] || got == values[i].radical;
    }
    // A block cut in its header encloses no code point.
    EXPECT_EQ(cut.getNumVals(0, kelvorn::kMandarin), -1) << len;
  }
}

// The real data has no compatibility ideograph whose target is written with
// a simplified radical, but the index is built from any data.
TEST(EdgeCases, ACompatibilityIdeographTakesItsTargetsMarks) {
  kelvorn::UnihanMgr mgr;
  ASSERT_EQ(testsupport::loadText(mgr,
                                  "U+7E9F\tkRSUnicode\t120'.0\n"
                                  "U+FA0F\tkRSUnicode\t9.9\n"),
            0);
  kelvorn::RadicalStrokeExtras extras;
  ASSERT_TRUE(extras.addRSUnicode(0x7E9F, "120'.0"));
  ASSERT_TRUE(extras.addRSUnicode(0xFA0F, "9.9"));
  ASSERT_TRUE(extras.addCompatibilityVariant(0xFA0F, "U+7E9F"));
  const kelvorn::UnihanIndex index(mgr, extras);
  const kelvorn::RadicalStrokeKey key = index.radicalStrokeKey(0xFA0F);
  EXPECT_EQ(key.radical, 120);
  EXPECT_EQ(key.residual, 0);
  EXPECT_EQ(key.marks, 1);
  EXPECT_EQ(index.sortKey(U"\uFA0F"), index.sortKey(U"\u7E9F"));
}

// A full device takes the open and refuses the bytes: an image reports it,
// since its header cannot go out, and a dump, which reports only the open,
// does not.
TEST(EdgeCases, AFullDeviceFailsAnImageAndNotADump) {
  kelvorn::UnihanMgr mgr;
  ASSERT_EQ(testsupport::loadText(mgr, "U+4E00\tkRSUnicode\t1.0\n"), 0);
  EXPECT_EQ(mgr.write(testsupport::CPath("/dev/full"), 1), -1);
  EXPECT_EQ(mgr.write(testsupport::CPath("/dev/full"), 0), 0);
}

// A tone written as a combining mark after its letter (a decomposed pinyin)
// is the tone of the marked letter.
TEST(EdgeCases, ACombiningToneMarkIsItsLettersTone) {
  for (const auto& [mark, tone] : {std::pair{"\u0304", "1"}, std::pair{"\u0301", "2"},
                                   std::pair{"\u030C", "3"}, std::pair{"\u0300", "4"}}) {
    EXPECT_TRUE(kelvorn::readingMatches("ha" + std::string(mark) + "n", std::string("han") + tone,
                                        kelvorn::Reading::kMandarin))
        << tone;
  }
}

// A record points into the spill arena with 32 bits: the values spilled last
// (after their two counts) must end within 4 GiB.
TEST(EdgeCases, TheSpillArenaEndsWithin32BitOffsets) {
  using kelvorn_private::spillFits;
  EXPECT_TRUE(spillFits(0, 20));
  EXPECT_TRUE(spillFits(UINT32_MAX - 28, 20));
  EXPECT_FALSE(spillFits(UINT32_MAX - 27, 20));
  EXPECT_FALSE(spillFits(UINT32_MAX, 0));
}

// An all-field image that an earlier build wrote (a fuzzing seed kept in the
// tree: U+4E00 holds k000 = "x", U+4E01 k001 to k070, each n times "vvv")
// reads the same: the name hash and the layout of the field sets are part of
// the format, and a build that changed them would still read its own images.
// Once closed, it is no longer mapped.
TEST(EdgeCases, AnAllFieldImageOfAnEarlierBuildReadsTheSame) {
  const auto mapped = [] {
    std::ifstream maps("/proc/self/maps");
    const std::string all{std::istreambuf_iterator<char>(maps), std::istreambuf_iterator<char>()};
    return all.find("many-fields.bin") != std::string::npos;
  };
  {
    const kelvorn::UnihanFields fields = kelvorn::UnihanFields::open(KELVORN_MANY_FIELDS_IMAGE);
    EXPECT_TRUE(mapped());
    EXPECT_EQ(fields.value(0x4E00, "k000"), "x");
    EXPECT_EQ(fields.value(0x4E01, "k000"), std::nullopt);
    EXPECT_EQ(fields.value(0x4E00, "k064"), std::nullopt);
    std::string text = "U+4E00\tk000\tx\n";  // its text: today's build makes the same bytes of it
    for (int n = 1; n <= 70; ++n) {
      char name[8];
      std::snprintf(name, sizeof name, "k%03d", n);
      const std::string value(3 * static_cast<std::size_t>(n), 'v');
      EXPECT_EQ(fields.value(0x4E01, name), value) << name;
      text += "U+4E01\t" + std::string(name) + "\t" + value + "\n";
    }
    EXPECT_EQ(kelvorn::UnihanFields::fromTextBuffer(text, "17.0", "t").imageBytes(), fields.imageBytes());
  }
  EXPECT_FALSE(mapped());
  // The name hash is part of the format: an older image of names 5 to 17 bytes long finds each.
  std::string slice = KELVORN_MANY_FIELDS_IMAGE;
  const kelvorn::UnihanFields names = kelvorn::UnihanFields::open(slice.replace(slice.rfind("many-fields"), 11, "slice-3400"));
  for (std::size_t i = 0; i < names.fieldCount(); ++i) EXPECT_EQ(names.fieldIndex(names.fieldNames()[i]), i);
}

void ignoreSignal(int) {}

// A read that a signal interrupts is tried again; any other failure is
// named, never retried.
TEST(EdgeCases, ReadsRetryAnInterruptionAndNameAFailure) {
  struct sigaction quiet {}, before {};
  quiet.sa_handler = ignoreSignal;  // without SA_RESTART: read() answers EINTR
  ASSERT_EQ(::sigaction(SIGUSR1, &quiet, &before), 0);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const pthread_t reader = ::pthread_self();
  std::thread writer([reader, fd = ends[1]] {
    for (int i = 0; i < 5; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ::pthread_kill(reader, SIGUSR1);
    }
    EXPECT_EQ(::write(fd, "late", 4), 4);
    ::close(fd);
  });
  std::string got;
  EXPECT_NO_THROW(got = kelvorn_files::readStream(ends[0], 100, "the pipe", "too large"));
  writer.join();
  ::close(ends[0]);
  ::sigaction(SIGUSR1, &before, nullptr);
  EXPECT_EQ(got, "late");

  // A descriptor open for writing only cannot be read from.
  const kelvorn_files::FileDescriptor writeOnly(::open(testFile("w", "bytes").c_str(), O_WRONLY));
  ASSERT_TRUE(writeOnly.isOpen());
  try {
    (void)kelvorn_files::readFromStart(writeOnly.get(), 100, "the file");
    ADD_FAILURE() << "read from a write-only descriptor";
  } catch (const kelvorn::Error& e) {
    EXPECT_NE(std::string(e.what()).find("the file: cannot read"), std::string::npos) << e.what();
  }
}

// What an unprivileged user meets: a directory it may write into (mode
// 0300) but not open, so the rename into it cannot be synced to disk. The
// save says so, and leaves a whole file, old or new, and no staging file.
// Root opens any directory, so the save runs as `nobody` when the test runs
// as root.
TEST(EdgeCases, ASaveIntoADirectoryThatCannotBeSyncedFails) {
  const passwd* nobody = ::getpwnam("nobody");
  if (::geteuid() == 0 && nobody == nullptr) GTEST_SKIP() << "no user nobody to run as";
  const std::string dir = tempPath("unreadable");
  ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
  const std::string path = dir + "/saved.bin";
  const std::string old = kelvorn::Unihan().bytes();
  testsupport::writeFile(path, old);
  const kelvorn::Unihan store = kelvorn::Unihan::fromMemory("U+4E00\tkTotalStrokes\t1\n");
  if (::geteuid() == 0) {
    // The test's own directory, where root made the one above, must let
    // nobody pass.
    ASSERT_EQ(::chmod(tempPath("").c_str(), 0711), 0);
    ASSERT_EQ(::chown(dir.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  }
  ASSERT_EQ(::chmod(dir.c_str(), 0300), 0);
  // 0: the save failed with a message about the directory; 1: it succeeded;
  // 4: the directory is out of reach (a private temporary directory above).
  const auto saveAndTell = [&] {
    if (::access(dir.c_str(), W_OK | X_OK) != 0) return 4;
    try {
      (void)store.save(path);
      return 1;
    } catch (const kelvorn::Error& e) {
      const std::string why = ": written, but its directory could not be synced to disk (";
      return e.what() == path + why + std::strerror(EACCES) + ")" ? 0 : 2;
    }
  };
  int outcome = 0;
  if (::geteuid() == 0) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
          ::setuid(nobody->pw_uid) != 0) {
        ::_exit(3);
      }
      ::_exit(saveAndTell());
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    outcome = WEXITSTATUS(status);
  } else {
    outcome = saveAndTell();
  }
  ASSERT_EQ(::chmod(dir.c_str(), 0700), 0);
  if (outcome == 4) GTEST_SKIP() << "nobody cannot reach " << dir;
  EXPECT_EQ(outcome, 0);
  const std::string now = readFile(path);
  EXPECT_TRUE(now == old || now == store.bytes());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

}  // namespace

// A signal ignored before the handlers went in stays ignored, and its save keeps its staging file;
// an earlier handler runs once the staging files are gone, told all it was told; SA_SIGINFO too.
TEST(EdgeCases, AnIgnoredSignalStaysIgnoredAndEarlierHandlersRunAfter) {
  const std::string name = testsupport::tempPath(".staging-XXXXXX");
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    static volatile sig_atomic_t chained = 0;
    struct sigaction action {};
    action.sa_flags = SA_SIGINFO;
    (void)::sigaction(SIGTERM, &action, nullptr);  // SIG_DFL
    action.sa_handler = SIG_IGN;
    (void)::sigaction(SIGHUP, &action, nullptr);
    action.sa_sigaction = [](int signal, siginfo_t* info, void*) { chained += signal == info->si_signo ? 10 : 100; };
    (void)::sigaction(SIGBUS, &action, nullptr);
    (void)std::signal(SIGINT, [](int signal) { chained += signal == SIGINT ? 1 : 100; });
    kelvorn_files::removeStagingFilesOnSignals();
    std::string staging = name;
    int slot = -1;
    if (kelvorn_files::createStaging(&staging, &slot) < 0 || slot < 0) ::_exit(2);
    (void)::raise(SIGHUP);
    const bool kept = ::access(staging.c_str(), F_OK) == 0;
    (void)::raise(SIGINT);
    const bool removed = ::access(staging.c_str(), F_OK) != 0;
    (void)::unlink(staging.c_str());
    (void)::raise(SIGBUS);
    if (!kept || !removed || chained != 11) ::_exit(3);
    (void)::raise(SIGTERM);
    ::_exit(4);  // not reached: the default action ends the child
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}

// Named by no variable, a bundled file is looked for in three places, listed in order.
TEST(EdgeCases, AMissingBundledFileNamesEveryPlaceLookedIn) {
  const std::vector<std::string> dirs = kelvorn_files::bundledDirs();
  EXPECT_EQ(fieldstest::errorOf([] { (void)kelvorn_files::bundledFilePath("none.bin"); }),
            "no bundled none.bin in " + dirs.at(0) + ", " + dirs.at(1) + " or " + dirs.at(2) +
                " (set KELVORN_UNIHAN_DATA_DIR to the directory that holds it)");
}

// A directory that takes the rename but fails its sync (which no file
// system here can be made to do on demand, so the sync of the file helpers
// compiled into this program is failed in place).
namespace {
std::atomic<bool> gFailDirectorySync{false};
}  // namespace

extern "C" int fsync(int fd) {
  struct stat st {};
  if (gFailDirectorySync && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EIO;
    return -1;
  }
  return static_cast<int>(::syscall(SYS_fsync, fd));
}

TEST(EdgeCases, AFailedDirectorySyncIsReportedAfterTheRename) {
  const std::string path = testsupport::tempPath("synced.txt");
  gFailDirectorySync = true;
  std::string error;
  try {
    kelvorn_files::writeFileAtomically(path, "new");
  } catch (const kelvorn::Error& e) {
    error = e.what();
  }
  gFailDirectorySync = false;
  EXPECT_EQ(error, path + ": written, but its directory could not be synced to disk (" +
                       std::strerror(EIO) + ")");
  EXPECT_EQ(readFile(path), "new");
}
