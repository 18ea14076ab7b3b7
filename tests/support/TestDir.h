// Every test of a program linked with kelvorn_test_main runs with a
// temporary directory of its own, made when the test starts and removed with
// its contents when the test ends, so that no test sees what another test or
// an earlier run left behind.
#ifndef KELVORN_TESTS_SUPPORT_TESTDIR_H
#define KELVORN_TESTS_SUPPORT_TESTDIR_H

#include <string>

namespace testsupport {

// The path of `name` in the running test's directory. Outside a test (in a
// suite's set-up, say) there is no such directory: std::logic_error.
std::string tempPath(const std::string& name);

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_TESTDIR_H
