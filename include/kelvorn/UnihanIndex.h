// kelvorn/UnihanIndex.h - reverse lookups and orderings over a loaded Unihan
// store: characters by radical, by total strokes and by reading, and the
// radical-stroke and total-strokes sort orders.
//
// A UnihanIndex is built once from a loaded UnihanMgr, through the handle's
// public members only, and answers from its own tables afterwards. It keeps a
// copy of the handle, so the store lives at least as long as the index. The
// index never changes after construction; copies share its tables. Like the
// store, an index and its copies may be queried from many threads at once
// (each page an opened index makes on first use is made once), as long as
// none of them is being assigned meanwhile.
#ifndef KELVORN_UNIHANINDEX_H
#define KELVORN_UNIHANINDEX_H

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kelvorn/Error.h"
#include "kelvorn/UnihanFieldNames.h"
#include "kelvorn/UnihanMgr.h"

#if defined(_WIN32)
#define KELVORN_UNIHAN_INDEX_API __declspec(dllexport)
#else
#define KELVORN_UNIHAN_INDEX_API __attribute__((visibility("default")))
#endif

namespace kelvorn_index_private {
struct IndexData;
}

namespace kelvorn {

// One line of a radical index: a character and the residual strokes of the
// matching value, as the data writes them (a stored residual of 128 or more
// reads as negative: 255 -> -1).
struct RadicalEntry {
  char32_t codePoint;
  int residual;
};

// Sort key of one character in the radical-stroke order, which is the Unihan
// collation's: radical, then its apostrophes (every 120' character after
// every 120 one), then residual strokes with a negative residual taken as 0,
// then the main block's unified ideographs (and the twelve unified ones of
// the compatibility block) before Extension A and the later blocks, then code
// point. A compatibility ideograph sorts as the character it is canonically
// equivalent to (sortsAs), and its key carries that character's radical,
// marks and residual, so U+F967 and U+4E0D are equal keys. Characters
// without a kRSUnicode value sort after all that have one, by code point
// (anything past U+10FFFF as one code point after them all).
struct RadicalStrokeKey {
  bool hasValue = false;  // the character has a kRSUnicode value
  int radical = 0;        // first kRSUnicode value's radical (0 when !hasValue)
  int residual = 0;       // its residual, signed as above (0 when !hasValue)
  char32_t codePoint = 0;
  int marks = 0;          // apostrophes after the radical: 1 for 120'.0
  char32_t sortsAs = 0;   // the character it sorts as; 0: itself
};

struct TotalStrokesKey {
  bool hasValue = false;  // kTotalStrokes present (totalStrokes > 0)
  int totalStrokes = 0;   // 0 when !hasValue
  RadicalStrokeKey radicalStroke;
};

KELVORN_UNIHAN_INDEX_API bool operator<(const RadicalStrokeKey& a, const RadicalStrokeKey& b);
KELVORN_UNIHAN_INDEX_API bool operator==(const RadicalStrokeKey& a, const RadicalStrokeKey& b);
KELVORN_UNIHAN_INDEX_API bool operator<(const TotalStrokesKey& a, const TotalStrokesKey& b);
KELVORN_UNIHAN_INDEX_API bool operator==(const TotalStrokesKey& a, const TotalStrokesKey& b);

enum class SortOrder { kRadicalStroke, kTotalStrokes };
// kPrefix matches as kLoose does, but the query need only be the start of
// the reading's toneless form: "zh" asks for zhōng, zhè, zhāo and every other
// reading that begins so (an input method's candidates for a syllable being
// typed); a tone in the query still asks for that tone only.
enum class ReadingMatch { kLoose, kExact, kPrefix };

// How often each character is read each way, as kHanyuPinlu counts it
// ("hé(9513) hè(1)"). The core keeps kHanyuPinlu's readings without their
// counts, so an application fills this from the all-field store or the text,
// once, and hands it to UnihanIndex::byReading for frequency order.
class KELVORN_UNIHAN_INDEX_API ReadingFrequencies {
 public:
  // Adds one character's kHanyuPinlu value: space-separated readings, each
  // followed by its count in parentheses. A value of any other form adds
  // nothing and answers false, so that a damaged value never half counts.
  bool addHanyuPinlu(char32_t codePoint, std::string_view value);
  // The number of (character, reading) counts held.
  std::size_t size() const noexcept { return entries_.size(); }

  struct Entry {
    char32_t codePoint;
    std::string reading;
    unsigned long count;
  };
  // Ascending by code point; a character's readings in the value's order.
  const std::vector<Entry>& entries() const noexcept { return entries_; }

  // Where frequency order puts the characters without a count for the
  // reading asked: those listed here first, in the order listed (search's
  // order, UnihanLexicon::commonFirst, say), then the rest. Replaces any
  // earlier list; a character listed twice keeps its first place.
  void setFallbackOrder(const std::vector<char32_t>& characters);
  // A character's place in that list (its first), or kUnlisted.
  static constexpr std::size_t kUnlisted = static_cast<std::size_t>(-1);
  std::size_t fallbackPlace(char32_t codePoint) const noexcept;

 private:
  // A saved index keeps the table and hands out the part a question needs.
  friend class UnihanIndex;
  std::vector<Entry> entries_;
  std::vector<std::pair<char32_t, std::size_t>> fallback_;  // (character, place), ascending
};

// What the radical-stroke order needs that the core's store drops:
// kRSUnicode's apostrophes (120'.0 is the simplified form of radical 120) and
// kCompatibilityVariant (U+F967 sorts as U+4E0D). An application fills this
// once from the all-field store or the text and hands it to UnihanIndex.
class KELVORN_UNIHAN_INDEX_API RadicalStrokeExtras {
 public:
  // One character's kRSUnicode value, "120'.3" or "75.2 61'.4". A value of
  // any other form adds nothing and answers false.
  bool addRSUnicode(char32_t codePoint, std::string_view value);
  // One character's kCompatibilityVariant value, "U+4E0D"; false otherwise.
  bool addCompatibilityVariant(char32_t codePoint, std::string_view value);

  struct Value {
    char32_t codePoint;
    int radical;
    int marks;  // apostrophes: 0, 1 (120') or 2 (211'')
    int residual;
  };
  // In the order added; a character's values in the value's order.
  const std::vector<Value>& values() const noexcept { return values_; }
  // (compatibility ideograph, the character it stands for), in the order added.
  const std::vector<std::pair<char32_t, char32_t>>& variants() const noexcept { return variants_; }

 private:
  std::vector<Value> values_;
  std::vector<std::pair<char32_t, char32_t>> variants_;
};

// The Mandarin readings the core's store does not hold: those the
// dictionaries give (kHanyuPinyin "10019.020:tiàn,tián", kXHC1983,
// kTGHZ2013) and kHanyuPinlu's with their counts dropped. Given these, an
// index's kMandarin lookups search every Mandarin reading field, so that an
// input method finds 行 under hang2 as well as xing2. An application fills
// this once from the all-field store or the text and hands it to UnihanIndex.
class KELVORN_UNIHAN_INDEX_API MandarinReadings {
 public:
  // kHanyuPinlu, kHanyuPinyin, kTGHZ2013 and kXHC1983.
  static const std::vector<std::string_view>& fieldNames() noexcept;
  // The readings one value of such a field gives, in the value's order;
  // nullopt for another field or a value of any other form.
  static std::optional<std::vector<std::string>> parse(std::string_view field,
                                                       std::string_view value);
  // Adds one character's value; false, and nothing added, where parse fails.
  bool add(char32_t codePoint, std::string_view field, std::string_view value);

  struct Reading {
    char32_t codePoint;
    std::string reading;
  };
  // In the order added.
  const std::vector<Reading>& readings() const noexcept { return readings_; }

 private:
  std::vector<Reading> readings_;
};

// The readings of one reading field the core's store does not hold, named
// by the user: kCantonese, kJapanese, kKorean, kHangul, kVietnamese, kTang,
// or one Mandarin dictionary field
// (kHanyuPinyin, kXHC1983, kTGHZ2013). (kJapaneseOn, kJapaneseKun and
// kHanyuPinlu the store holds: UnihanIndex answers them.) An application fills it from the
// all-field store when the field is first asked for; it answers that
// field's readings only. Lookups scan every reading, folded once when
// added: the largest field (kJapanese, 51,583 characters) scans in under a
// millisecond, and no table has to be saved and checked on open.
class KELVORN_UNIHAN_INDEX_API NamedReadings {
 public:
  // The fields above, in alphabetical order.
  static const std::vector<std::string_view>& fieldNames() noexcept;
  // The readings one value gives: a dictionary field's after its locations
  // ("482.140:zhōng"), kHangul's syllables before their colons ("한:0E"),
  // kTang's without the * that marks the most common ("*khɑn"), the
  // space-separated words of the rest. nullopt for a field not listed
  // above or a value of any other form.
  static std::optional<std::vector<std::string>> parse(std::string_view field,
                                                       std::string_view value);
  // Throws kelvorn::Error for a field not listed above.
  explicit NamedReadings(std::string_view field);
  const std::string& field() const noexcept { return field_; }
  // Adds one character's value; false, and nothing added, where parse fails.
  bool add(char32_t codePoint, std::string_view value);

  // Code-point order, each once. Exact compares the bytes. Loose ignores
  // ASCII case, pinyin's tone marks and a final tone digit (1 to 6:
  // kCantonese's "hon3"), and a mark or digit in the query asks for that
  // tone only; kPrefix asks for readings that begin so. Throws
  // kelvorn::Error for an empty text.
  std::vector<char32_t> byReading(std::string_view text,
                                  ReadingMatch match = ReadingMatch::kLoose) const;
  // One character's readings in this field, in the value's order.
  std::vector<std::string> readings(char32_t codePoint) const;
  // Whether one reading answers `text`, by byReading's rules.
  static bool matches(std::string_view reading, std::string_view text, ReadingMatch match);

 private:
  struct Entry {
    char32_t codePoint;
    std::string reading;
    std::string looseBase;  // the loose form, folded once when added
    int looseTone;
  };
  std::string field_;
  std::vector<Entry> entries_;  // in the order added
};

class KELVORN_UNIHAN_INDEX_API UnihanIndex {
 public:
  // Builds every index from the store behind `unihan`. Without extras the
  // radical-stroke order knows no apostrophes and no compatibility variants.
  explicit UnihanIndex(const UnihanMgr& unihan);
  UnihanIndex(const UnihanMgr& unihan, const RadicalStrokeExtras& extras);
  UnihanIndex(const UnihanMgr& unihan, const RadicalStrokeExtras& extras,
              const MandarinReadings& mandarin);
  // Keeps the frequencies too, so that an index saved with them answers in
  // frequency order without the data they were read from.
  UnihanIndex(const UnihanMgr& unihan, const RadicalStrokeExtras& extras,
              const MandarinReadings& mandarin, const ReadingFrequencies& frequencies);
  // Saving an index and opening it again instead of building it: bytes()
  // writes the tables, and fromBytes() opens them where they lie, with no
  // walk of the store. `dataTag` is the caller's name for the data the
  // index was built from (the sizes and checksums of its images, say):
  // bytes open only under the tag they were written with, and only over
  // that same data, which the caller vouches for through the tag. fromBytes
  // answers nullopt for bytes that are damaged, of another format version
  // or tagged otherwise; no bytes make it read outside them.
  std::string bytes(std::string_view dataTag) const;
  // Copies the bytes once; the index keeps its copy.
  static std::optional<UnihanIndex> fromBytes(const UnihanMgr& unihan, std::string_view bytes,
                                              std::string_view dataTag);
  // Copies nothing: the index reads the bytes where they are (a mapped
  // file, say) and keeps `owner` alive for as long as it lives.
  static std::optional<UnihanIndex> fromBytes(const UnihanMgr& unihan,
                                              std::shared_ptr<const void> owner,
                                              std::string_view bytes, std::string_view dataTag);

  // Copies share the tables. A move copies too, so that no index is ever
  // left without tables.
  UnihanIndex(const UnihanIndex& other);
  UnihanIndex& operator=(const UnihanIndex& other);
  ~UnihanIndex();

  // Code points the store holds, ascending. A code point is held when a block
  // encloses it; where blocks overlap, the first one answers, as in the core.
  // An opened index makes this list, and each page below, on first use, so
  // these may throw std::bad_alloc.
  const std::vector<char32_t>& codePoints() const;
  bool contains(char32_t codePoint) const noexcept;

  // Radical 1..214 under one of the six radical-stroke sources; ordered by
  // the radical's marks (kRSUnicode's 120 page, then 120''s, when the index
  // was given the extras), residual, then code point. A character stands
  // once for each distinct residual among its values naming the radical (kRSUnicode's second value
  // and every kRSVantu_Japan1_6 value count). Empty for a radical outside
  // 1..214 or a value that names no source.
  const std::vector<RadicalEntry>& byRadical(int radical, Source source = Source::kRSUnicode) const;

  // The part of kRSUnicode's page of `radical` whose values carry `marks`
  // apostrophes (0 to 3): byRadicalForm(120, 1) is the simplified radical
  // 120''s, byRadicalForm(120, 0) the rest. Empty outside 1..214 or for
  // marks that no value carries.
  std::vector<RadicalEntry> byRadicalForm(int radical, int marks) const;

  // kTotalStrokes == strokes (1..255), ordered by radical-stroke key. Empty
  // otherwise.
  const std::vector<char32_t>& byTotalStrokes(int strokes) const;

  // Reading lookup in kMandarin, kHanyuPinlu, kJapaneseKun or kJapaneseOn;
  // code-point order, each once. An index given MandarinReadings searches
  // them too under kMandarin. Exact compares the stored bytes. Loose
  // ignores case; for the two pinyin fields it also ignores tone marks, takes
  // ü, v and u: alike, and a final digit 1..5 or a tone mark in the query asks
  // for that tone only (5: no mark). Throws kelvorn::Error for a value that
  // names no reading field, or an empty text.
  std::vector<char32_t> byReading(std::string_view text, Reading field = Reading::kMandarin,
                                  ReadingMatch match = ReadingMatch::kLoose) const;

  // The same answer in frequency order: first the characters that have a
  // count for a reading answering `text` (by `match`, in a pinyin field),
  // highest count first; then those in the frequencies' fallback order, in
  // that order; then the rest; ties in radical-stroke order.
  std::vector<char32_t> byReading(std::string_view text, Reading field, ReadingMatch match,
                                  const ReadingFrequencies& frequencies) const;

  // A named field's answer (NamedReadings::byReading) in the same order:
  // kHanyuPinlu's counts apply to the Mandarin dictionary fields only, so
  // the other fields' answers come in the fallback order, then
  // radical-stroke order.
  std::vector<char32_t> byReading(const NamedReadings& named, std::string_view text,
                                  ReadingMatch match, const ReadingFrequencies& frequencies) const;

  // The frequencies the index was built with, nullopt when it was given
  // none. Given characters (ascending), only their counts and fallback
  // places, which order them as the whole table does.
  std::optional<ReadingFrequencies> frequencies() const;
  std::optional<ReadingFrequencies> frequencies(const std::vector<char32_t>& characters) const;

  // The stored readings of one character in a reading field (empty for a
  // value that names no reading field).
  std::vector<std::string> readings(char32_t codePoint, Reading field) const;

  // A character's readings in every Mandarin field the index was given:
  // kMandarin's as readings() has them, then the MandarinReadings' others
  // in MandarinReadings::fieldNames order, each once.
  std::vector<std::string> mandarinReadings(char32_t codePoint) const;

  RadicalStrokeKey radicalStrokeKey(char32_t codePoint) const noexcept;
  TotalStrokesKey totalStrokesKey(char32_t codePoint) const noexcept;

  // Character-by-character comparison by key, a prefix first. UTF-8 input
  // that is not valid UTF-8 throws kelvorn::Error.
  bool less(std::u32string_view a, std::u32string_view b,
            SortOrder order = SortOrder::kRadicalStroke) const;
  bool lessUtf8(std::string_view a, std::string_view b,
                SortOrder order = SortOrder::kRadicalStroke) const;

  // Sort keys: byte strings whose bytewise order (memcmp, then length: the
  // order of std::string's <) is exactly less()'s, equal keys for equal
  // strings. Each character adds three bytes in radical-stroke order and
  // five in total-strokes order. The UTF-8 form throws kelvorn::Error
  // as lessUtf8 does.
  std::string sortKey(std::u32string_view text,
                      SortOrder order = SortOrder::kRadicalStroke) const;
  std::string sortKeyUtf8(std::string_view text,
                          SortOrder order = SortOrder::kRadicalStroke) const;
  void appendSortKey(std::u32string_view text, SortOrder order, std::string* out) const;

 private:
  explicit UnihanIndex(std::shared_ptr<const kelvorn_index_private::IndexData> data);
  // found, ascending, in frequency order; countedAs names the pinyin field
  // whose rules match kHanyuPinlu's readings against text, none when the
  // counts do not apply.
  std::vector<char32_t> inFrequencyOrder(std::vector<char32_t> found, std::string_view text,
                                         std::optional<Reading> countedAs, ReadingMatch match,
                                         const ReadingFrequencies& frequencies) const;

  std::shared_ptr<const kelvorn_index_private::IndexData> data_;
};

// Residual strokes as the data writes them: the store keeps the low eight
// bits of a residual, so "47.-1" comes back as 255; real residuals never
// reach 128. Inline, as every typed radical-stroke answer passes through it.
constexpr int signedResidual(int storedResidual) noexcept {
  const int low = storedResidual & 0xFF;
  return low >= 128 ? low - 256 : low;
}

// Whether one stored reading of `field` answers `query` under `match`, by the
// rules of UnihanIndex::byReading. Throws kelvorn::Error as it does.
KELVORN_UNIHAN_INDEX_API bool readingMatches(std::string_view reading, std::string_view query,
                                             Reading field,
                                             ReadingMatch match = ReadingMatch::kLoose);

}  // namespace kelvorn

#endif  // KELVORN_UNIHANINDEX_H
