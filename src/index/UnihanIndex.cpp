#include "kelvorn/UnihanIndex.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "index/IndexCodec.h"
#include "index/IndexData.h"
#include "index/ReadingFold.h"
#include "kelvorn/Error.h"
#include "kelvorn/UnihanFieldNames.h"
#include "kelvorn/Utf8.h"

namespace kelvorn {

using kelvorn_index_private::CharKey;
using kelvorn_index_private::IndexData;
using kelvorn_index_private::radicalStrokeKeyOf;

namespace {

const std::vector<RadicalEntry> kNoEntries;
const std::vector<char32_t> kNoCodePoints;

void requireReadingQuery(std::string_view text, unihanPropT field) {
  if (!kelvorn_index_private::isReadingField(field)) {
    const std::string_view name = fieldName(field);
    throw Error(name.empty() ? "not a field: " + std::to_string(static_cast<int>(field))
                             : std::string(name) + " is not a reading field");
  }
  if (text.empty()) throw Error("empty reading");
}

void requireUtf8(std::string_view text) {
  if (!kelvorn::utf8::isValid(text)) throw Error("not valid UTF-8");
}

TotalStrokesKey totalStrokesKeyOf(const CharKey* key, char32_t codePoint,
                                  char32_t sortsAs) noexcept {
  const int total = key == nullptr ? 0 : key->totalStrokes;
  return {total > 0, total, radicalStrokeKeyOf(key, codePoint, sortsAs)};
}

std::uint64_t weightOf(const IndexData& data, char32_t cp, SortOrder order) noexcept {
  return order == SortOrder::kTotalStrokes ? data.totalStrokesWeight(cp)
                                           : data.radicalStrokeWeight(cp);
}

// -1, 0 or 1 as a sorts before, with or after b.
int compareChars(const IndexData& data, char32_t a, char32_t b, SortOrder order) noexcept {
  const std::uint64_t wa = weightOf(data, a, order);
  const std::uint64_t wb = weightOf(data, b, order);
  return wa < wb ? -1 : (wa > wb ? 1 : 0);
}

// Big-endian, so that bytewise order is numeric order.
void appendWeight(std::uint64_t weight, int bytes, std::string* out) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
    out->push_back(static_cast<char>((weight >> shift) & 0xFF));
  }
}

}  // namespace

UnihanIndex::UnihanIndex(const UnihanMgr& unihan) : UnihanIndex(unihan, RadicalStrokeExtras()) {}

UnihanIndex::UnihanIndex(const UnihanMgr& unihan, const RadicalStrokeExtras& extras)
    : UnihanIndex(unihan, extras, MandarinReadings()) {}

UnihanIndex::UnihanIndex(const UnihanMgr& unihan, const RadicalStrokeExtras& extras,
                         const MandarinReadings& mandarin) {
  auto data = std::make_shared<IndexData>(unihan);
  kelvorn_index_private::buildIndex(data.get(), extras, mandarin);
  data_ = std::move(data);
}

UnihanIndex::UnihanIndex(std::shared_ptr<const IndexData> data) : data_(std::move(data)) {}

std::string UnihanIndex::bytes(std::string_view dataTag) const {
  return kelvorn_index_private::IndexCodec::write(*data_, dataTag);
}

std::optional<UnihanIndex> UnihanIndex::fromBytes(const UnihanMgr& unihan, std::string_view bytes,
                                                  std::string_view dataTag) {
  auto copy = std::make_shared<const std::string>(bytes);
  const std::string_view view(*copy);
  return fromBytes(unihan, std::move(copy), view, dataTag);
}

std::optional<UnihanIndex> UnihanIndex::fromBytes(const UnihanMgr& unihan,
                                                  std::shared_ptr<const void> owner,
                                                  std::string_view bytes, std::string_view dataTag) {
  auto data = std::make_shared<IndexData>(unihan);
  data->saved = std::move(owner);
  if (!kelvorn_index_private::IndexCodec::read(bytes, dataTag, data.get())) return std::nullopt;
  return UnihanIndex(std::move(data));
}

UnihanIndex::UnihanIndex(const UnihanIndex& other) = default;
UnihanIndex& UnihanIndex::operator=(const UnihanIndex& other) = default;
UnihanIndex::~UnihanIndex() = default;

const std::vector<char32_t>& UnihanIndex::codePoints() const {
  return data_->codePointList.page(0);
}

bool UnihanIndex::contains(char32_t codePoint) const noexcept {
  return data_->keyOf(codePoint) != nullptr;
}

const std::vector<RadicalEntry>& UnihanIndex::byRadical(int radical, Source source) const {
  const unihanPropT prop = toField(source);
  const bool known = radical >= 1 && radical <= kelvorn_index_private::kMaxRadical &&
                     prop >= kRSUnicode && prop <= kRSVantu_Japan1_6;
  if (!known) return kNoEntries;
  const int slot = prop * (kelvorn_index_private::kMaxRadical + 1) + radical;
  return data_->radicals.page(static_cast<std::size_t>(slot));
}

std::vector<RadicalEntry> UnihanIndex::byRadicalForm(int radical, int marks) const {
  using kelvorn_index_private::kMaxMarks;
  using kelvorn_index_private::kMaxRadical;
  if (radical < 1 || radical > kMaxRadical || marks < 0 || marks > kMaxMarks) return {};
  const std::vector<RadicalEntry>& page = byRadical(radical, Source::kRSUnicode);
  const auto& ends = data_->formEnds[static_cast<std::size_t>(radical)];
  const std::uint32_t begin = marks == 0 ? 0 : ends[static_cast<std::size_t>(marks - 1)];
  const std::uint32_t end = ends[static_cast<std::size_t>(marks)];
  return std::vector<RadicalEntry>(page.begin() + begin, page.begin() + end);
}

const std::vector<char32_t>& UnihanIndex::byTotalStrokes(int strokes) const {
  if (strokes < 1 || strokes > kelvorn_index_private::kMaxStrokes) return kNoCodePoints;
  return data_->strokes.page(static_cast<std::size_t>(strokes));
}

std::vector<char32_t> UnihanIndex::byReading(std::string_view text, Reading field,
                                             ReadingMatch match) const {
  const unihanPropT prop = toField(field);
  requireReadingQuery(text, prop);
  const auto& table = data_->readings[static_cast<std::size_t>(prop - kHanyuPinlu)];
  std::vector<char32_t> out;
  if (match == ReadingMatch::kExact) {
    table.findExact(text, &out);
  } else if (match == ReadingMatch::kPrefix) {
    table.findPrefix(kelvorn_index_private::foldQuery(text, prop), &out);
  } else {
    table.findLoose(kelvorn_index_private::foldQuery(text, prop), &out);
  }
  return out;
}

std::vector<char32_t> UnihanIndex::byReading(std::string_view text, Reading field,
                                             ReadingMatch match,
                                             const ReadingFrequencies& frequencies) const {
  // kHanyuPinlu counts pinyin readings: they say nothing of a Japanese one.
  const std::optional<Reading> countedAs = kelvorn_index_private::isPinyinField(toField(field))
                                               ? std::optional<Reading>(field)
                                               : std::nullopt;
  return inFrequencyOrder(byReading(text, field, match), text, countedAs, match, frequencies);
}

std::vector<char32_t> UnihanIndex::byReading(const NamedReadings& named, std::string_view text,
                                             ReadingMatch match,
                                             const ReadingFrequencies& frequencies) const {
  const auto& dictionaries = MandarinReadings::fieldNames();
  const bool pinyin =
      std::find(dictionaries.begin(), dictionaries.end(), named.field()) != dictionaries.end();
  const std::optional<Reading> countedAs =
      pinyin ? std::optional<Reading>(Reading::kMandarin) : std::nullopt;
  return inFrequencyOrder(named.byReading(text, match), text, countedAs, match, frequencies);
}

std::vector<char32_t> UnihanIndex::inFrequencyOrder(std::vector<char32_t> found,
                                                    std::string_view text,
                                                    std::optional<Reading> countedAs,
                                                    ReadingMatch match,
                                                    const ReadingFrequencies& frequencies) const {
  struct Ranked {
    unsigned long count;  // 0: none
    std::size_t fallbackPlace;
    char32_t codePoint;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(found.size());
  const auto& entries = frequencies.entries();
  auto entry = entries.begin();
  for (const char32_t cp : found) {  // both ascending: one merge pass
    unsigned long best = 0;
    while (entry != entries.end() && entry->codePoint < cp) ++entry;
    for (auto e = entry; countedAs && e != entries.end() && e->codePoint == cp; ++e) {
      if (e->count > best && readingMatches(e->reading, text, *countedAs, match)) best = e->count;
    }
    // A counted character's place in the fallback order does not matter.
    ranked.push_back({best, best > 0 ? 0 : frequencies.fallbackPlace(cp), cp});
  }
  const IndexData& data = *data_;
  // A count of 0 stands for none, so the counted come first.
  std::sort(ranked.begin(), ranked.end(), [&data](const Ranked& a, const Ranked& b) {
    if (a.count != b.count) return a.count > b.count;
    if (a.fallbackPlace != b.fallbackPlace) return a.fallbackPlace < b.fallbackPlace;
    return compareChars(data, a.codePoint, b.codePoint, SortOrder::kRadicalStroke) < 0;
  });
  for (std::size_t i = 0; i < ranked.size(); ++i) found[i] = ranked[i].codePoint;
  return found;
}

std::vector<std::string> UnihanIndex::readings(char32_t codePoint, Reading field) const {
  const unihanPropT prop = toField(field);
  std::vector<std::string> out;
  if (kelvorn_index_private::isReadingField(prop) && contains(codePoint)) {
    data_->unihan.getPronounceData(out, static_cast<int>(codePoint), prop);
  }
  return out;
}

std::vector<std::string> UnihanIndex::mandarinReadings(char32_t codePoint) const {
  std::vector<std::string> out = readings(codePoint, Reading::kMandarin);
  const kelvorn_index_private::CodePointStrings& extras = data_->mandarinExtras;
  for (const char32_t* at = extras.firstOf(codePoint, extras.codePoints.begin());
       at != extras.codePoints.end() && *at == codePoint; ++at) {
    out.emplace_back(extras.at(extras.placeOf(at)));
  }
  return out;
}

RadicalStrokeKey UnihanIndex::radicalStrokeKey(char32_t codePoint) const noexcept {
  return radicalStrokeKeyOf(data_->keyOf(codePoint), codePoint, data_->sortsAsOf(codePoint));
}

TotalStrokesKey UnihanIndex::totalStrokesKey(char32_t codePoint) const noexcept {
  return totalStrokesKeyOf(data_->keyOf(codePoint), codePoint, data_->sortsAsOf(codePoint));
}

bool UnihanIndex::less(std::u32string_view a, std::u32string_view b, SortOrder order) const {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int c = compareChars(*data_, a[i], b[i], order);
    if (c != 0) return c < 0;
  }
  return a.size() < b.size();
}

bool UnihanIndex::lessUtf8(std::string_view a, std::string_view b, SortOrder order) const {
  // Both are checked whole first, so that the answer never depends on where
  // the first difference lies.
  requireUtf8(a);
  requireUtf8(b);
  std::size_t pa = 0;
  std::size_t pb = 0;
  char32_t ca = 0;
  char32_t cb = 0;
  while (kelvorn::utf8::next(a, &pa, &ca) &&
         kelvorn::utf8::next(b, &pb, &cb)) {
    const int c = compareChars(*data_, ca, cb, order);
    if (c != 0) return c < 0;
  }
  // One ran out: the shorter is a prefix of the other.
  return pb < b.size() && pa >= a.size();
}

void UnihanIndex::appendSortKey(std::u32string_view text, SortOrder order,
                                std::string* out) const {
  const IndexData& data = *data_;
  const bool strokes = order == SortOrder::kTotalStrokes;
  const int bytes = strokes ? 5 : 3;
  // Grown by doubling, so that appending line after line stays linear.
  const std::size_t need = out->size() + text.size() * static_cast<std::size_t>(bytes);
  if (need > out->capacity()) out->reserve(std::max(need, 2 * out->capacity()));
  for (const char32_t cp : text) appendWeight(weightOf(data, cp, order), bytes, out);
}

std::string UnihanIndex::sortKey(std::u32string_view text, SortOrder order) const {
  std::string out;
  appendSortKey(text, order, &out);
  return out;
}

std::string UnihanIndex::sortKeyUtf8(std::string_view text, SortOrder order) const {
  requireUtf8(text);
  std::u32string chars;
  chars.reserve(text.size());
  std::size_t pos = 0;
  char32_t cp = 0;
  while (kelvorn::utf8::next(text, &pos, &cp)) chars.push_back(cp);
  return sortKey(chars, order);
}

bool readingMatches(std::string_view reading, std::string_view query, Reading field,
                    ReadingMatch match) {
  const unihanPropT prop = toField(field);
  requireReadingQuery(query, prop);
  if (match == ReadingMatch::kExact) return reading == query;
  const auto stored = kelvorn_index_private::foldStoredReading(reading, prop);
  const auto folded = kelvorn_index_private::foldQuery(query, prop);
  if (match == ReadingMatch::kPrefix) return kelvorn_index_private::prefixMatch(stored, folded);
  return kelvorn_index_private::looseMatch(stored, folded);
}

}  // namespace kelvorn
