// kelvorn/UnihanFieldNames.h - the one home of the library's field names,
// its radical-stroke sources and reading fields, and the default source
// preference. Header only: every layer above the core shares these tables.
#ifndef KELVORN_UNIHANFIELDNAMES_H
#define KELVORN_UNIHANFIELDNAMES_H

#include <array>
#include <optional>
#include <string_view>

#include "kelvorn/UnihanMgr.h"

namespace kelvorn {

// The six radical-stroke sources, numbered as the core numbers them.
enum class Source : int {
  kRSUnicode = kelvorn::kRSUnicode,
  kRSKangXi = kelvorn::kRSKangXi,
  kRSKanWa = kelvorn::kRSKanWa,
  kRSKorean = kelvorn::kRSKorean,
  kRSJapanese = kelvorn::kRSJapanese,
  kRSVantu_Japan1_6 = kelvorn::kRSVantu_Japan1_6,
};

// The four reading fields, numbered as the core numbers them.
enum class Reading : int {
  kHanyuPinlu = kelvorn::kHanyuPinlu,
  kJapaneseKun = kelvorn::kJapaneseKun,
  kJapaneseOn = kelvorn::kJapaneseOn,
  kMandarin = kelvorn::kMandarin,
};

constexpr unihanPropT toField(Source source) { return static_cast<unihanPropT>(source); }
constexpr unihanPropT toField(Reading field) { return static_cast<unihanPropT>(field); }

// In the order the tool and the docs list them.
inline constexpr std::array<Source, 6> kSources = {
    Source::kRSUnicode, Source::kRSKangXi,   Source::kRSKanWa,
    Source::kRSKorean,  Source::kRSJapanese, Source::kRSVantu_Japan1_6};
inline constexpr std::array<Reading, 4> kReadings = {Reading::kMandarin, Reading::kHanyuPinlu,
                                                     Reading::kJapaneseKun, Reading::kJapaneseOn};

// The order in which the core's preference-driven radix and stroke consult
// the sources until one is set otherwise.
inline constexpr std::array<Source, 6> kDefaultSourcePreference = {
    Source::kRSVantu_Japan1_6, Source::kRSJapanese, Source::kRSKorean,
    Source::kRSKanWa,          Source::kRSKangXi,   Source::kRSUnicode};

// The Unihan names of the twelve fields, indexed by unihanPropT.
inline constexpr std::array<std::string_view, 12> kFieldNames = {
    "kRSUnicode",   "kRSKangXi",     "kRSKanWa",     "kRSKorean",
    "kRSJapanese",  "kRSVantu_Japan1_6", "kTotalStrokes", "kHanyuPinlu",
    "kJapaneseKun", "kJapaneseOn",   "kMandarin",    "kHanYu"};

constexpr std::string_view fieldName(unihanPropT field) {
  return field >= 0 && field < static_cast<int>(kFieldNames.size()) ? kFieldNames[field]
                                                                     : std::string_view();
}
constexpr std::string_view fieldName(Source source) { return fieldName(toField(source)); }
constexpr std::string_view fieldName(Reading field) { return fieldName(toField(field)); }

constexpr std::optional<unihanPropT> fieldNamed(std::string_view name) {
  for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
    if (kFieldNames[i] == name) return static_cast<unihanPropT>(i);
  }
  return std::nullopt;
}
constexpr std::optional<Source> sourceNamed(std::string_view name) {
  for (Source source : kSources) {
    if (fieldName(source) == name) return source;
  }
  return std::nullopt;
}
constexpr std::optional<Reading> readingNamed(std::string_view name) {
  for (Reading field : kReadings) {
    if (fieldName(field) == name) return field;
  }
  return std::nullopt;
}

}  // namespace kelvorn

#endif  // KELVORN_UNIHANFIELDNAMES_H
