// The record lookup shared by the per-code-point queries.
#ifndef KELVORN_QUERY_RECORDACCESS_H
#define KELVORN_QUERY_RECORDACCESS_H

#include "store/UnihanData.h"

namespace kelvorn_private {

// The code point's character record, or null when the enclosing block has
// none at its index or no block encloses it.
inline const UnihanCharRec* charRecordAt(const UnihanData& store, int codePoint) {
  const Location loc = store.locate(codePoint);
  if (loc.block == nullptr || loc.index >= loc.block->chars.size()) return nullptr;
  return &loc.block->chars[loc.index];
}

}  // namespace kelvorn_private

#endif  // KELVORN_QUERY_RECORDACCESS_H
