// The store behind every copy of one kelvorn::Unihan: the core's handle, and
// the list of held code points, worked out once on first use.
#ifndef KELVORN_APP_STORE_H
#define KELVORN_APP_STORE_H

#include <mutex>
#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"

namespace kelvorn_app_private {

struct Store {
  // The core's queries only read, but are not declared const.
  mutable kelvorn::UnihanMgr mgr;
  mutable std::once_flag heldOnce;
  mutable std::vector<char32_t> held;
  // The size and CRC-32 of the image the store was loaded from; empty for
  // text. Worked out from the bytes as they were read, so that it names the
  // data answered from even after the file is replaced.
  std::string imageTag;
};

// Whether a block of the store holds the code point: the cheapest query
// there is, a record lookup with no copy of any value.
inline bool holds(const Store& store, char32_t cp) {
  return cp <= 0x10FFFF && store.mgr.getNumVals(static_cast<int>(cp), kelvorn::kMandarin) != -1;
}

}  // namespace kelvorn_app_private

#endif  // KELVORN_APP_STORE_H
