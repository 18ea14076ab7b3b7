// The loose forms of readings. Pinyin (kMandarin, kHanyuPinlu) folds to a
// lower-case base without tone marks, with ü, v and u: written alike as "v",
// plus the tone; Japanese romanisation (kJapaneseKun, kJapaneseOn) folds case
// only.
#ifndef KELVORN_INDEX_READINGFOLD_H
#define KELVORN_INDEX_READINGFOLD_H

#include <string>
#include <string_view>

#include "kelvorn/UnihanMgr.h"

namespace kelvorn_index_private {

// Tones 1..4 are the four marks and 5 is a syllable without one. A query
// without a tone says kAnyTone; one whose mark and final digit disagree says
// kNoTone and matches nothing.
constexpr int kAnyTone = 0;
constexpr int kNoTone = -1;
constexpr int kToneCount = 6;  // kAnyTone, then tones 1..5

struct FoldedReading {
  std::string base;
  int tone = kAnyTone;
};

// True for the two fields whose values are pinyin syllables.
bool isPinyinField(kelvorn::unihanPropT field) noexcept;
// True for the four reading fields.
bool isReadingField(kelvorn::unihanPropT field) noexcept;

// A stored reading: its tone is that of its mark, else 5. Japanese readings
// carry no tone (kAnyTone).
FoldedReading foldStoredReading(std::string_view reading, kelvorn::unihanPropT field);

// A query: its tone is that of its mark or of a final digit 1..5, else
// kAnyTone; kNoTone when the two disagree.
FoldedReading foldQuery(std::string_view query, kelvorn::unihanPropT field);

// Whether a folded stored reading answers a folded query.
bool looseMatch(const FoldedReading& stored, const FoldedReading& query) noexcept;
// The same, with the query's base only the start of the stored base.
bool prefixMatch(const FoldedReading& stored, const FoldedReading& query) noexcept;

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_READINGFOLD_H
