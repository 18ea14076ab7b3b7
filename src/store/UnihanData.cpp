#include "store/UnihanData.h"

#include <algorithm>

namespace kelvorn_private {

RefCountObj::~RefCountObj() = default;

void retain(RefCountObj* obj) { ++obj->refCount; }

void release(RefCountObj* obj) {
  if (--obj->refCount == 0) delete obj;
}

// An entry that no load has written answers "no code point", which
// getUTF32ForCID reports as -1.
UnihanData::UnihanData() {
  std::fill(std::begin(cidToUtf32), std::end(cidToUtf32), kNoCodePoint);
}

UnihanData::~UnihanData() = default;

}  // namespace kelvorn_private
