// The store behind every copy of one kelvorn::Unihan: the core's handle, and
// the list of held code points, worked out once on first use.
#ifndef KELVORN_APP_STORE_H
#define KELVORN_APP_STORE_H

#include <mutex>
#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"
#include "query/RecordAccess.h"
#include "store/HandleAccess.h"

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

// The code point's records, found by one search; every answer of
// kelvorn::Unihan reads what it needs from one. Nothing past U+10FFFF is
// held.
inline kelvorn_private::Record recordOf(const Store& store, char32_t cp) {
  const kelvorn_private::UnihanData& data = *kelvorn_private::HandleAccess::store(store.mgr);
  return cp <= 0x10FFFF ? kelvorn_private::Record(data, static_cast<std::int32_t>(cp))
                        : kelvorn_private::Record(data);
}

// Whether a block of the store holds the code point.
inline bool holds(const Store& store, char32_t cp) { return recordOf(store, cp).held(); }

}  // namespace kelvorn_app_private

#endif  // KELVORN_APP_STORE_H
