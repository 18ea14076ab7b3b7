// The one walk over the code space that fills every table of an index, and
// the sorting that follows it.
#include <algorithm>
#include <numeric>
#include <string>

#include "index/IndexData.h"
#include "query/Residual.h"

namespace kelvorn_index_private {
namespace {

using kelvorn::unihanPropT;

// One radical-stroke value of a character, residual signed.
struct RadicalValue {
  int source;
  int radical;
  int residual;
  int marks;  // kRSUnicode's apostrophes, from the extras

  bool operator<(const RadicalValue& o) const noexcept {
    if (source != o.source) return source < o.source;
    if (radical != o.radical) return radical < o.radical;
    if (marks != o.marks) return marks < o.marks;
    return residual < o.residual;
  }
  bool operator==(const RadicalValue& o) const noexcept {
    return source == o.source && radical == o.radical && residual == o.residual &&
           marks == o.marks;
  }
};

unihanPropT prop(int value) { return static_cast<unihanPropT>(value); }

// The first kRSUnicode value and the total strokes, which the sort keys use.
CharKey keyFor(kelvorn::UnihanMgr& unihan, int cp) {
  CharKey key{false, 0, 0, 0, 0};
  const int radical = unihan.radix(cp, kelvorn::kRSUnicode, 0);
  if (radical >= 0) {
    key.hasRadicalStroke = true;
    key.radical = static_cast<std::uint8_t>(radical);
    key.storedResidual = static_cast<std::uint8_t>(unihan.stroke(cp, kelvorn::kRSUnicode, 0));
  }
  const int total = unihan.totalStrokes(cp);
  key.totalStrokes = static_cast<std::uint8_t>(total > 0 ? total : 0);
  return key;
}

// Every value of the six sources, each distinct one once: kRSUnicode's second
// value and every kRSVantu_Japan1_6 value count. A kRSVantu_Japan1_6 value's
// residual is the glyph's strokes less those of the radical's form. The first
// kRSUnicode value comes from the key, already read.
// `marks` holds the apostrophes of the character's kRSUnicode values, in
// order (empty without extras).
void collectRadicalValues(kelvorn::UnihanMgr& unihan, int cp, const CharKey& key,
                          const std::vector<int>& marks, std::vector<RadicalValue>* out) {
  out->clear();
  const auto marksOf = [&marks](std::size_t k) { return k < marks.size() ? marks[k] : 0; };
  if (key.hasRadicalStroke) {
    out->push_back({kelvorn::kRSUnicode, key.radical, kelvorn::signedResidual(key.storedResidual),
                    marksOf(0)});
  }
  for (int source = kelvorn::kRSKangXi; source <= kelvorn::kRSJapanese; ++source) {
    const int radical = unihan.radix(cp, prop(source), 0);
    if (radical >= 0) {
      out->push_back(
          {source, radical, kelvorn::signedResidual(unihan.stroke(cp, prop(source), 0)), 0});
    }
  }
  const int second = key.hasRadicalStroke ? unihan.radix(cp, kelvorn::kRSUnicode, 1) : -1;
  if (second >= 0) {
    out->push_back({kelvorn::kRSUnicode, second,
                    kelvorn::signedResidual(unihan.stroke(cp, kelvorn::kRSUnicode, 1)), marksOf(1)});
  }
  const int cidValues = unihan.getNumVals(cp, kelvorn::kRSVantu_Japan1_6);
  for (int k = 0; k < cidValues; ++k) {
    const int radical = unihan.radix(cp, kelvorn::kRSVantu_Japan1_6, k);
    const int glyph = unihan.totalVantuStrokes(cp, k);
    const int form = unihan.stroke(cp, kelvorn::kRSVantu_Japan1_6, k);
    if (radical >= 0 && glyph >= 0 && form >= 0) {
      out->push_back(
          {kelvorn::kRSVantu_Japan1_6, radical, kelvorn_private::vantuResidual(glyph, form), 0});
    }
  }
  if (out->size() > 1) {
    std::sort(out->begin(), out->end());
    out->erase(std::unique(out->begin(), out->end()), out->end());
  }
}

// Signed residuals -128..127 as bucket numbers 0..255, in order.
constexpr std::size_t kResidualBuckets = 256;
std::size_t residualBucket(int residual) {
  const int bucket = residual + 128;
  return static_cast<std::size_t>(bucket);
}

// order, stably sorted by bucketOf(element) < bucketCount: a counting sort,
// linear in the size and the number of buckets. Two passes, minor key first,
// sort by a pair.
template <class BucketOf>
std::vector<std::uint32_t> stableSortedBy(const std::vector<std::uint32_t>& order,
                                          std::size_t bucketCount, BucketOf bucketOf) {
  std::vector<std::uint32_t> next(bucketCount + 1, 0);
  for (const std::uint32_t i : order) ++next[bucketOf(i) + 1];
  std::partial_sum(next.begin(), next.end(), next.begin());
  std::vector<std::uint32_t> sorted(order.size());
  for (const std::uint32_t i : order) sorted[next[bucketOf(i)]++] = i;
  return sorted;
}

std::vector<std::uint32_t> identityOrder(std::size_t n) {
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0U);
  return order;
}

class Walker {
 public:
  Walker(IndexData* data, const kelvorn::RadicalStrokeExtras& extras,
         const kelvorn::MandarinReadings& mandarin)
      : data_(data),
        extras_(extras),
        mandarin_(mandarin.readings()),
        builders_{ReadingTableBuilder(kelvorn::kHanyuPinlu), ReadingTableBuilder(kelvorn::kJapaneseKun),
                  ReadingTableBuilder(kelvorn::kJapaneseOn), ReadingTableBuilder(kelvorn::kMandarin)} {
    values_.reserve(16);
  }

  void visit(char32_t codePoint) {
    kelvorn::UnihanMgr& unihan = data_->unihan;
    const int cp = static_cast<int>(codePoint);
    const CharKey key = keyFor(unihan, cp);
    codePoints_.push_back(codePoint);
    keys_.push_back(key);
    collectRadicalValues(unihan, cp, key, marksOf(codePoint), &values_);
    for (const RadicalValue& v : values_) {
      if (v.radical >= 1 && v.radical <= kMaxRadical) {
        const auto slot = static_cast<std::uint16_t>(v.source * (kMaxRadical + 1) + v.radical);
        radicalLines_.push_back({slot, static_cast<std::uint8_t>(v.marks), {codePoint, v.residual}});
      }
    }
    for (int i = 0; i < kReadingFieldCount; ++i) {
      const unihanPropT field = prop(kelvorn::kHanyuPinlu + i);
      readings_.clear();
      if (unihan.getNumVals(cp, field) > 0) unihan.getPronounceData(readings_, cp, field);
      if (field == kelvorn::kMandarin) addMandarinExtras(codePoint);
      if (!readings_.empty()) builders_[static_cast<std::size_t>(i)].add(codePoint, readings_);
    }
  }

  // The other Mandarin fields' readings of one character join kMandarin's;
  // code points arrive in ascending order, so one cursor walks them sorted
  // once.
  // The new ones are filed for UnihanIndex::mandarinReadings as well.
  void addMandarinExtras(char32_t codePoint) {
    if (!mandarinSorted_) {
      std::stable_sort(mandarin_.begin(), mandarin_.end(),
                       [](const auto& a, const auto& b) { return a.codePoint < b.codePoint; });
      mandarinSorted_ = true;
    }
    while (nextMandarin_ < mandarin_.size() && mandarin_[nextMandarin_].codePoint < codePoint) {
      ++nextMandarin_;
    }
    for (; nextMandarin_ < mandarin_.size() && mandarin_[nextMandarin_].codePoint == codePoint;
         ++nextMandarin_) {
      const std::string& reading = mandarin_[nextMandarin_].reading;
      if (std::find(readings_.begin(), readings_.end(), reading) == readings_.end()) {
        mandarinExtras_.add(codePoint, reading);
      }
      readings_.push_back(reading);
    }
  }

  // The extras' kRSUnicode marks of one character; code points arrive in
  // ascending order, so one cursor walks the values sorted once.
  const std::vector<int>& marksOf(char32_t codePoint) {
    marks_.clear();
    if (!extrasSorted_) {
      sortedValues_ = extras_.values();
      std::stable_sort(sortedValues_.begin(), sortedValues_.end(),
                       [](const auto& a, const auto& b) { return a.codePoint < b.codePoint; });
      extrasSorted_ = true;
    }
    while (nextValue_ < sortedValues_.size() && sortedValues_[nextValue_].codePoint < codePoint) {
      ++nextValue_;
    }
    for (std::size_t i = nextValue_;
         i < sortedValues_.size() && sortedValues_[i].codePoint == codePoint; ++i) {
      marks_.push_back(sortedValues_[i].marks);
    }
    return marks_;
  }

  void finish() {
    data_->codePoints.own(std::move(codePoints_));
    fileRuns(data_);
    applyExtras();
    data_->keys.own(std::move(keys_));
    fileRadicals();
    fileStrokes(rankCharacters());
    for (int i = 0; i < kReadingFieldCount; ++i) {
      data_->readings[static_cast<std::size_t>(i)] = builders_[static_cast<std::size_t>(i)].build();
    }
    data_->codePointList.view(0, data_->codePoints.data(), data_->codePoints.size());
    mandarinExtras_.build(&data_->mandarinExtras);
  }

 private:
  struct RadicalLine {
    std::uint16_t slot;  // source * (kMaxRadical + 1) + radical
    std::uint8_t marks;  // kRSUnicode's apostrophes
    kelvorn::RadicalEntry entry;
  };

  // Lines arrive in code-point order, and the sorts are stable, so each
  // residual's characters stay in code-point order; a page lists the
  // radical's plain form first, then each marked one.
  void fileRadicals() {
    constexpr std::size_t kSlots = kRadicalSlots;
    constexpr std::size_t kMarkBuckets = kMaxMarks + 1;
    const auto& lines = radicalLines_;
    std::vector<std::uint32_t> order = stableSortedBy(
        identityOrder(lines.size()), kResidualBuckets,
        [&lines](std::uint32_t i) { return residualBucket(lines[i].entry.residual); });
    order = stableSortedBy(order, kMarkBuckets, [&lines](std::uint32_t i) {
      return static_cast<std::size_t>(lines[i].marks);
    });
    order = stableSortedBy(order, kSlots, [&lines](std::uint32_t i) { return lines[i].slot; });
    std::vector<std::size_t> sizes(kSlots, 0);
    for (const RadicalLine& line : lines) ++sizes[line.slot];
    for (std::size_t slot = 0; slot < kSlots; ++slot) data_->radicals.built(slot).reserve(sizes[slot]);
    for (const std::uint32_t i : order) {
      std::vector<kelvorn::RadicalEntry>& page = data_->radicals.built(lines[i].slot);
      page.push_back(lines[i].entry);
      if (lines[i].slot <= kMaxRadical) {  // kRSUnicode's: a part ends after each line
        auto& ends = data_->formEnds[lines[i].slot];
        for (int m = lines[i].marks; m <= kMaxMarks; ++m) {
          ends[static_cast<std::size_t>(m)] = static_cast<std::uint32_t>(page.size());
        }
      }
    }
  }

  // The marks of each character's first kRSUnicode value, when it names the
  // radical the store holds; then each compatibility ideograph takes the key
  // of the character it stands for, as the collation's canonical
  // equivalence has it.
  void applyExtras() {
    char32_t previous = 0;
    bool first = true;
    for (const auto& v : extras_.values()) {
      const bool firstOfChar = first || v.codePoint != previous;
      first = false;
      previous = v.codePoint;
      CharKey* key = mutableKeyOf(v.codePoint);
      if (firstOfChar && key != nullptr && key->hasRadicalStroke && key->radical == v.radical) {
        key->marks = static_cast<std::uint8_t>(v.marks);
      }
    }
    std::vector<std::pair<char32_t, char32_t>>& sortsAs = data_->sortsAs;
    for (const auto& variant : extras_.variants()) {
      if (variant.first != variant.second && mutableKeyOf(variant.first) != nullptr) {
        sortsAs.push_back(variant);
      }
    }
    std::stable_sort(sortsAs.begin(), sortsAs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    sortsAs.erase(std::unique(sortsAs.begin(), sortsAs.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  sortsAs.end());
    sortsAs.shrink_to_fit();
    // A variant's target reads its own key, not one already replaced.
    std::vector<std::pair<CharKey*, CharKey>> replaced;
    for (const auto& [cp, target] : sortsAs) {
      const CharKey* targetKey = mutableKeyOf(target);
      if (targetKey != nullptr && targetKey->hasRadicalStroke) {
        replaced.emplace_back(mutableKeyOf(cp), *targetKey);
      }
    }
    for (const auto& [key, target] : replaced) {
      key->hasRadicalStroke = true;
      key->radical = target.radical;
      key->storedResidual = target.storedResidual;
      key->marks = target.marks;
    }
  }

  // Before the keys go to the index, while the extras still change them.
  CharKey* mutableKeyOf(char32_t codePoint) {
    const long place = data_->placeOf(codePoint);
    return place < 0 ? nullptr : &keys_[static_cast<std::size_t>(place)];
  }

  // Held characters in radical-stroke order, and each one's weight: ranks
  // from 1, equal keys sharing one, then the characters without a value.
  std::vector<std::uint32_t> rankCharacters() {
    const Table<CharKey>& keys = data_->keys;
    const Table<char32_t>& cps = data_->codePoints;
    // (order value, place): sorted in place, ties by code point.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> ranked(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
      ranked[i] = {orderValue(radicalStrokeKeyOf(&keys[i], cps[i], data_->sortsAsOf(cps[i]))),
                   static_cast<std::uint32_t>(i)};
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::uint64_t> values(keys.size());
    std::vector<std::uint32_t> order(keys.size());
    for (std::size_t k = 0; k < ranked.size(); ++k) {
      order[k] = ranked[k].second;
      values[ranked[k].second] = ranked[k].first;
    }
    std::vector<std::uint32_t> weights(keys.size());
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      const std::uint32_t i = order[k];
      if (k == 0 || values[i] != values[order[k - 1]]) ++rank;
      const std::uint32_t weight = keys[i].hasRadicalStroke ? rank : (kNoValueWeight | cps[i]);
      weights[i] = weight | std::uint32_t{keys[i].totalStrokes} << 24;
    }
    data_->weights.own(std::move(weights));
    return order;
  }

  // Held code points in radical-stroke order, dealt out by total strokes.
  void fileStrokes(const std::vector<std::uint32_t>& order) {
    const Table<CharKey>& keys = data_->keys;
    std::array<std::size_t, kMaxStrokes + 1> sizes{};
    for (const CharKey& key : keys) ++sizes[key.totalStrokes];
    for (int s = 1; s <= kMaxStrokes; ++s) {
      data_->strokes.built(static_cast<std::size_t>(s)).reserve(sizes[static_cast<std::size_t>(s)]);
    }
    for (const std::uint32_t i : order) {
      if (keys[i].totalStrokes > 0) {
        data_->strokes.built(keys[i].totalStrokes).push_back(data_->codePoints[i]);
      }
    }
  }

  IndexData* data_;
  const kelvorn::RadicalStrokeExtras& extras_;
  std::vector<char32_t> codePoints_;  // the index's, until finish()
  std::vector<CharKey> keys_;
  std::vector<kelvorn::RadicalStrokeExtras::Value> sortedValues_;
  bool extrasSorted_ = false;
  std::size_t nextValue_ = 0;
  std::vector<int> marks_;
  std::vector<kelvorn::MandarinReadings::Reading> mandarin_;
  bool mandarinSorted_ = false;
  std::size_t nextMandarin_ = 0;
  CodePointStringsBuilder mandarinExtras_;
  std::array<ReadingTableBuilder, kReadingFieldCount> builders_;
  std::vector<RadicalValue> values_;
  std::vector<std::string> readings_;
  std::vector<RadicalLine> radicalLines_;
};

}  // namespace

const CharKey* IndexData::keyOf(char32_t codePoint) const noexcept {
  const long place = placeOf(codePoint);
  return place < 0 ? nullptr : &keys[static_cast<std::size_t>(place)];
}

char32_t IndexData::sortsAsOf(char32_t codePoint) const noexcept {
  const auto it = std::lower_bound(
      sortsAs.begin(), sortsAs.end(), codePoint,
      [](const std::pair<char32_t, char32_t>& v, char32_t cp) { return v.first < cp; });
  return it != sortsAs.end() && it->first == codePoint ? it->second : 0;
}

// A code point is held when a block encloses it: getNumVals answers -1 only
// when none does, and asks the first enclosing block, as every query does.
void buildIndex(IndexData* data, const kelvorn::RadicalStrokeExtras& extras,
                const kelvorn::MandarinReadings& mandarin) {
  Walker walker(data, extras, mandarin);
  for (char32_t cp = 0; cp <= kLastCodePoint; ++cp) {
    if (data->unihan.getNumVals(static_cast<int>(cp), kelvorn::kMandarin) != -1) walker.visit(cp);
  }
  walker.finish();
}

}  // namespace kelvorn_index_private
