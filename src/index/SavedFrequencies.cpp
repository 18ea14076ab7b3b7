// The frequencies an index keeps: taken from a ReadingFrequencies when it is
// built, handed out again whole or for the characters of one answer.
#include <algorithm>

#include "index/IndexData.h"
#include "kelvorn/UnihanIndex.h"

namespace kelvorn {

using kelvorn_index_private::FrequencyTable;
using kelvorn_index_private::IndexData;

UnihanIndex::UnihanIndex(const UnihanMgr& unihan, const RadicalStrokeExtras& extras,
                         const MandarinReadings& mandarin, const ReadingFrequencies& frequencies) {
  auto data = std::make_shared<IndexData>(unihan);
  kelvorn_index_private::buildIndex(data.get(), extras, mandarin);
  FrequencyTable& table = data->frequencies;
  kelvorn_index_private::CodePointStringsBuilder readings;
  std::vector<std::uint32_t> counts;
  for (const ReadingFrequencies::Entry& e : frequencies.entries_) {
    readings.add(e.codePoint, e.reading);
    counts.push_back(static_cast<std::uint32_t>(e.count));
  }
  std::vector<char32_t> fallbackCodePoints;
  std::vector<std::uint32_t> fallbackPlaces;
  for (const auto& [cp, place] : frequencies.fallback_) {
    fallbackCodePoints.push_back(cp);
    fallbackPlaces.push_back(static_cast<std::uint32_t>(place));
  }
  table.held = true;
  readings.build(&table.readings);
  table.counts.own(std::move(counts));
  table.fallbackCodePoints.own(std::move(fallbackCodePoints));
  table.fallbackPlaces.own(std::move(fallbackPlaces));
  data_ = std::move(data);
}

std::optional<ReadingFrequencies> UnihanIndex::frequencies() const {
  const FrequencyTable& table = data_->frequencies;
  if (!table.held) return std::nullopt;
  std::vector<char32_t> all(table.readings.codePoints.begin(), table.readings.codePoints.end());
  all.insert(all.end(), table.fallbackCodePoints.begin(), table.fallbackCodePoints.end());
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return frequencies(all);
}

std::optional<ReadingFrequencies> UnihanIndex::frequencies(
    const std::vector<char32_t>& characters) const {
  const FrequencyTable& table = data_->frequencies;
  if (!table.held) return std::nullopt;
  ReadingFrequencies out;
  const kelvorn_index_private::CodePointStrings& readings = table.readings;
  const char32_t* counted = readings.codePoints.begin();
  const char32_t* listed = table.fallbackCodePoints.begin();
  for (const char32_t cp : characters) {  // both ascending: searches move forward only
    for (counted = readings.firstOf(cp, counted);
         counted != readings.codePoints.end() && *counted == cp; ++counted) {
      const std::size_t i = readings.placeOf(counted);
      out.entries_.push_back({cp, std::string(readings.at(i)), table.counts[i]});
    }
    listed = std::lower_bound(listed, table.fallbackCodePoints.end(), cp);
    if (listed != table.fallbackCodePoints.end() && *listed == cp) {
      const auto i = static_cast<std::size_t>(listed - table.fallbackCodePoints.begin());
      out.fallback_.emplace_back(cp, table.fallbackPlaces[i]);
    }
  }
  return out;
}

}  // namespace kelvorn
