// Arbitrary bytes as a saved index, opened in place over an exact heap block:
// either refused, or an index whose every answer stays inside the block, and
// which saves back to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "kelvorn/UnihanIndex.h"
#include "support/IndexWalk.h"

constexpr char kTag[] = "fuzz";

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A heap block of exactly the input's size, read in place, so that a read
  // past its end is caught.
  auto exact = std::make_shared<const std::vector<char>>(data, data + size);
  const std::string_view bytes(exact->data(), exact->size());
  const kelvorn::UnihanMgr empty;
  const std::optional<kelvorn::UnihanIndex> ix =
      kelvorn::UnihanIndex::fromBytes(empty, exact, bytes, kTag);
  if (!ix) return 0;
  (void)testsupport::askEverything(*ix);
  if (ix->bytes(kTag) != bytes) std::abort();  // what opens saves back unchanged
  return 0;
}
