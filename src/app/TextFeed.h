// The core reads Unihan text by path, to the end of what it opens. Text
// reaches it through a pipe instead, fed from a bounded source: a file's
// first `size` bytes, or bytes in memory. So a file that grows while it is
// read cannot keep the read going, nothing is staged in a file that would
// count against the file-size limit, and a UTF-8 byte-order mark is dropped
// before the core, which would take it for part of the first line, sees it.
#ifndef KELVORN_APP_TEXTFEED_H
#define KELVORN_APP_TEXTFEED_H

#include <cstddef>
#include <string>
#include <string_view>

#include "kelvorn/UnihanMgr.h"

namespace kelvorn_app_private {

// Feeds the first `size` bytes of the open file `fd`, read from offset 0, to
// mgr.readUnihan. Throws kelvorn::Error naming `name` when the file cannot
// be read, ends early, or changes (size or modification time) meanwhile.
void feedFile(kelvorn::UnihanMgr& mgr, int fd, const std::string& name);

// Feeds bytes held in memory to mgr.readUnihan.
void feedBytes(kelvorn::UnihanMgr& mgr, std::string_view bytes, const std::string& name);

}  // namespace kelvorn_app_private

#endif  // KELVORN_APP_TEXTFEED_H
