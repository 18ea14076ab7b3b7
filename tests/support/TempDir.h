// A fresh, private directory under the system's temporary directory, removed
// with everything in it when the object goes. Nothing a test or benchmark
// writes may outlive its run, and no run may find files of an earlier one.
#ifndef KELVORN_TESTS_SUPPORT_TEMPDIR_H
#define KELVORN_TESTS_SUPPORT_TEMPDIR_H

#include <filesystem>
#include <string>

namespace testsupport {

class TempDir {
 public:
  // Made with mkdtemp as <tmp>/<prefix>-XXXXXX; throws std::system_error
  // when it cannot be made.
  explicit TempDir(const std::string& prefix);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the directory; the file is not created.
  std::string file(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_TEMPDIR_H
