// The store behind a handle, for the library's own application layer, which
// loads text into it and takes its image and dump as bytes. Those entry
// points are hidden: the application library compiles the core's objects
// into itself rather than import them (cmake/Library.cmake says why that is
// sound).
#ifndef KELVORN_STORE_HANDLEACCESS_H
#define KELVORN_STORE_HANDLEACCESS_H

#include "kelvorn/UnihanMgr.h"
#include "store/UnihanData.h"

namespace kelvorn_private {

struct HandleAccess {
  // Null for a handle built from itself, which has no store.
  static UnihanData* store(const kelvorn::UnihanMgr& handle) { return handle.data; }
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_HANDLEACCESS_H
