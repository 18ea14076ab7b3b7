// The block lookup shared by the reading and dictionary queries; the
// character record queries ask the store for the record directly.
#ifndef KELVORN_QUERY_RECORDACCESS_H
#define KELVORN_QUERY_RECORDACCESS_H

#include "store/UnihanData.h"

namespace kelvorn_private {

// Where a code point's records are: the block that answers for it and the
// code point's index in the block's lists, which each query bounds by the
// list it reads.
struct Location {
  const UnihanBlock* block = nullptr;
  std::uint32_t index = 0;
};

inline Location locate(const UnihanData& store, int codePoint) {
  const UnihanBlock* block = store.blockFor(codePoint);
  if (block == nullptr) return {};
  return {block, static_cast<std::uint32_t>(codePoint) - static_cast<std::uint32_t>(block->first)};
}

}  // namespace kelvorn_private

#endif  // KELVORN_QUERY_RECORDACCESS_H
