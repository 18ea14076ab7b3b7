// Reading the Mandarin readings that the core's store leaves out: those of
// the dictionaries' fields (kHanyuPinyin, kXHC1983, kTGHZ2013) and
// kHanyuPinlu's, whose counts the store drops.
#include <algorithm>
#include <optional>

#include "kelvorn/UnihanIndex.h"

namespace kelvorn {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

// Space-separated pieces; an empty piece (two spaces, an edge) is none.
std::optional<std::vector<std::string_view>> splitPieces(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    if (end == start) return std::nullopt;
    pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

// "10019.020,10020.030:tiàn,tián": the readings after the locations.
bool readDictionaryEntry(std::string_view entry, std::vector<std::string>* out) {
  const std::size_t colon = entry.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  const auto readings = splitPieces(entry.substr(colon + 1), ',');
  if (!readings) return false;
  for (const std::string_view r : *readings) {
    if (r.find(':') != std::string_view::npos) return false;
    out->emplace_back(r);
  }
  return true;
}

}  // namespace

const std::vector<std::string_view>& MandarinReadings::fieldNames() noexcept {
  static const std::vector<std::string_view> names{"kHanyuPinlu", "kHanyuPinyin", "kTGHZ2013",
                                                    "kXHC1983"};
  return names;
}

std::optional<std::vector<std::string>> MandarinReadings::parse(std::string_view field,
                                                               std::string_view value) {
  const auto& names = fieldNames();
  if (std::find(names.begin(), names.end(), field) == names.end()) return std::nullopt;
  std::vector<std::string> readings;
  if (field == "kHanyuPinlu") {
    ReadingFrequencies counted;
    if (!counted.addHanyuPinlu(0, value)) return std::nullopt;
    for (const auto& e : counted.entries()) readings.push_back(e.reading);
    return readings;
  }
  const auto entries = splitPieces(value, ' ');
  if (!entries) return std::nullopt;
  for (const std::string_view entry : *entries) {
    if (!readDictionaryEntry(entry, &readings)) return std::nullopt;
  }
  return readings;
}

bool MandarinReadings::add(char32_t codePoint, std::string_view field, std::string_view value) {
  const auto readings = parse(field, value);
  if (!readings || codePoint > kLastCodePoint) return false;
  for (const std::string& r : *readings) readings_.push_back({codePoint, r});
  return true;
}

}  // namespace kelvorn
