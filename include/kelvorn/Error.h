// kelvorn/Error.h - what the kelvorn libraries throw for files, data and
// arguments: one family, so that one handler catches every refusal.
#ifndef KELVORN_ERROR_H
#define KELVORN_ERROR_H

#include <stdexcept>
#include <string>

namespace kelvorn {

// One line that names the file, the field or the argument, and what is
// wrong with it. Defined in the all-field library, which the index and the
// application libraries link: every library but the core throws it, and
// the core throws nothing.
class __attribute__((visibility("default"))) Error : public std::runtime_error {
 public:
  // systemError is the errno value when a file could not be opened, read
  // or written, and 0 when its contents or an argument were refused.
  explicit Error(const std::string& message, int systemError = 0);
  ~Error() override;
  Error(const Error&) = default;
  Error& operator=(const Error&) = default;

  int systemError() const noexcept { return systemError_; }

 private:
  int systemError_;
};

}  // namespace kelvorn

#endif  // KELVORN_ERROR_H
