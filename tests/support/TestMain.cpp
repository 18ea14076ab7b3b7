// The main of the GoogleTest programs: GoogleTest's own, plus a listener
// that gives each test its temporary directory.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "support/TempDir.h"
#include "support/TestDir.h"

namespace testsupport {
namespace {

std::unique_ptr<TempDir>& currentTestDir() {
  static std::unique_ptr<TempDir> dir;
  return dir;
}

class TempDirPerTest : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    currentTestDir() = std::make_unique<TempDir>("kelvorn-test");
  }
  void OnTestEnd(const testing::TestInfo&) override { currentTestDir().reset(); }
};

}  // namespace

std::string tempPath(const std::string& name) {
  if (!currentTestDir()) throw std::logic_error("tempPath(\"" + name + "\") outside a test");
  return currentTestDir()->file(name);
}

}  // namespace testsupport

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // GoogleTest owns and deletes the listener.
  testing::UnitTest::GetInstance()->listeners().Append(new testsupport::TempDirPerTest);
  return RUN_ALL_TESTS();
}
