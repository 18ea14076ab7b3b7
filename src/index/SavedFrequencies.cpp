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
  std::vector<char32_t> codePoints;
  std::vector<std::uint32_t> counts;
  std::vector<std::uint32_t> readingStarts{0};
  std::vector<char> readingBytes;
  for (const ReadingFrequencies::Entry& e : frequencies.entries_) {
    codePoints.push_back(e.codePoint);
    counts.push_back(static_cast<std::uint32_t>(e.count));
    readingBytes.insert(readingBytes.end(), e.reading.begin(), e.reading.end());
    readingStarts.push_back(static_cast<std::uint32_t>(readingBytes.size()));
  }
  std::vector<char32_t> fallbackCodePoints;
  std::vector<std::uint32_t> fallbackPlaces;
  for (const auto& [cp, place] : frequencies.fallback_) {
    fallbackCodePoints.push_back(cp);
    fallbackPlaces.push_back(static_cast<std::uint32_t>(place));
  }
  table.held = true;
  table.codePoints.own(std::move(codePoints));
  table.counts.own(std::move(counts));
  table.readingStarts.own(std::move(readingStarts));
  table.readingBytes.own(std::move(readingBytes));
  table.fallbackCodePoints.own(std::move(fallbackCodePoints));
  table.fallbackPlaces.own(std::move(fallbackPlaces));
  data_ = std::move(data);
}

std::optional<ReadingFrequencies> UnihanIndex::frequencies() const {
  const FrequencyTable& table = data_->frequencies;
  if (!table.held) return std::nullopt;
  std::vector<char32_t> all(table.codePoints.begin(), table.codePoints.end());
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
  const char32_t* counted = table.codePoints.begin();
  const char32_t* listed = table.fallbackCodePoints.begin();
  for (const char32_t cp : characters) {  // both ascending: searches move forward only
    counted = std::lower_bound(counted, table.codePoints.end(), cp);
    for (; counted != table.codePoints.end() && *counted == cp; ++counted) {
      const auto i = static_cast<std::size_t>(counted - table.codePoints.begin());
      const std::uint32_t start = table.readingStarts[i];
      out.entries_.push_back({cp,
                              std::string(table.readingBytes.data() + start,
                                          table.readingStarts[i + 1] - start),
                              table.counts[i]});
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
