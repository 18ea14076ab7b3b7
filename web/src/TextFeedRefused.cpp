// The core reads Unihan text through a pipe that a thread of its own
// fills; a WebAssembly module has neither. It loads images only: the
// `unihan` tool compiles text into one.
#include "app/TextFeed.h"

#include "kelvorn/Unihan.h"

namespace kelvorn_app_private {

namespace {

[[noreturn]] void refuseText(const std::string& name) {
  throw kelvorn::Error(name +
                       ": Unihan text is not read here; compile it into an image with "
                       "`unihan compile` and load the image");
}

}  // namespace

void feedFile(kelvorn::UnihanMgr& /*mgr*/, int /*fd*/, const std::string& name) {
  refuseText(name);
}

void feedBytes(kelvorn::UnihanMgr& /*mgr*/, std::string_view /*bytes*/, const std::string& name) {
  refuseText(name);
}

}  // namespace kelvorn_app_private
