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

namespace {

constexpr char kTag[] = "fuzz";

std::size_t askEverything(const kelvorn::UnihanIndex& ix) {
  std::size_t sum = ix.codePoints().size();
  for (int source = kelvorn::kRSUnicode; source <= kelvorn::kRSVantu_Japan1_6; ++source) {
    for (int radical = 1; radical <= 214; ++radical) {
      for (const auto& e : ix.byRadical(radical, static_cast<kelvorn::unihanPropT>(source))) {
        sum += e.codePoint + static_cast<std::size_t>(e.residual);
      }
    }
  }
  for (int radical = 1; radical <= 214; ++radical) {
    for (int marks = 0; marks <= 3; ++marks) sum += ix.byRadicalForm(radical, marks).size();
  }
  for (int strokes = 1; strokes <= 255; ++strokes) sum += ix.byTotalStrokes(strokes).size();
  std::u32string probe(ix.codePoints().begin(), ix.codePoints().end());
  if (probe.size() > 256) probe.resize(256);
  probe += U"\u4E00\U00020000\U0010FFFF";
  sum += ix.sortKey(probe).size() + ix.sortKey(probe, kelvorn::SortOrder::kTotalStrokes).size();
  for (const kelvorn::unihanPropT field :
       {kelvorn::kHanyuPinlu, kelvorn::kJapaneseKun, kelvorn::kJapaneseOn, kelvorn::kMandarin}) {
    for (const char* query : {"a", "shi4", "wáng", "FU", "\x01"}) {
      sum += ix.byReading(query, field).size();
      sum += ix.byReading(query, field, kelvorn::ReadingMatch::kExact).size();
    }
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A heap block of exactly the input's size, read in place, so that a read
  // past its end is caught.
  auto exact = std::make_shared<const std::vector<char>>(data, data + size);
  const std::string_view bytes(exact->data(), exact->size());
  const kelvorn::UnihanMgr empty;
  const std::optional<kelvorn::UnihanIndex> ix =
      kelvorn::UnihanIndex::fromBytes(empty, exact, bytes, kTag);
  if (!ix) return 0;
  (void)askEverything(*ix);
  if (ix->bytes(kTag) != bytes) std::abort();  // what opens saves back unchanged
  return 0;
}
