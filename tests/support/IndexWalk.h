// Every question a companion index answers, asked once, so that a sanitizer
// sees any read outside the bytes a saved index was opened from; the tests of
// damaged indexes and the saved-index fuzz target both walk them.
#ifndef KELVORN_TESTS_SUPPORT_INDEXWALK_H
#define KELVORN_TESTS_SUPPORT_INDEXWALK_H

#include <cstddef>
#include <optional>
#include <string>

#include "kelvorn/UnihanIndex.h"

namespace testsupport {

// A sum of the answers, so that none is optimised away.
inline std::size_t askEverything(const kelvorn::UnihanIndex& ix) {
  std::size_t sum = ix.codePoints().size();
  for (const kelvorn::Source source : kelvorn::kSources) {
    for (int radical = 1; radical <= 214; ++radical) {
      for (const auto& e : ix.byRadical(radical, source)) {
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
  const std::optional<kelvorn::ReadingFrequencies> counts = ix.frequencies();
  for (const kelvorn::Reading field : kelvorn::kReadings) {
    for (const char* query : {"a", "bu4", "bù", "shi4", "wáng", "FU", "\x01", "\xff"}) {
      sum += ix.byReading(query, field).size();
      sum += ix.byReading(query, field, kelvorn::ReadingMatch::kExact).size();
      if (counts) {
        const std::vector<char32_t> found = ix.byReading(query, field);
        sum += ix.byReading(query, field, kelvorn::ReadingMatch::kLoose, *counts).size();
        sum += ix.frequencies(found)->size();
      }
    }
  }
  return sum;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_INDEXWALK_H
