// The one walk over the code space that fills every table of an index, and
// the sorting that follows it.
#include <algorithm>
#include <string>

#include "index/IndexData.h"

namespace kelvorn_index_private {
namespace {

using kelvorn::unihanPropT;

constexpr char32_t kLastCodePoint = 0x10FFFF;

// One radical-stroke value of a character, residual signed.
struct RadicalValue {
  int source;
  int radical;
  int residual;

  bool operator<(const RadicalValue& o) const noexcept {
    if (source != o.source) return source < o.source;
    if (radical != o.radical) return radical < o.radical;
    return residual < o.residual;
  }
  bool operator==(const RadicalValue& o) const noexcept {
    return source == o.source && radical == o.radical && residual == o.residual;
  }
};

unihanPropT prop(int value) { return static_cast<unihanPropT>(value); }

// Every value of the six sources, each distinct one once: kRSUnicode's second
// value and every kRSVantu_Japan1_6 value count. A kRSVantu_Japan1_6 value's
// residual is the glyph's strokes less those of the radical's form.
void collectRadicalValues(kelvorn::UnihanMgr& unihan, int cp, std::vector<RadicalValue>* out) {
  out->clear();
  for (int source = kelvorn::kRSUnicode; source <= kelvorn::kRSJapanese; ++source) {
    const int radical = unihan.radix(cp, prop(source), 0);
    if (radical >= 0) {
      out->push_back({source, radical, kelvorn::signedResidual(unihan.stroke(cp, prop(source), 0))});
    }
  }
  if (unihan.getNumVals(cp, kelvorn::kRSUnicode) == 2) {
    const int radical = unihan.radix(cp, kelvorn::kRSUnicode, 1);
    if (radical >= 0) {
      out->push_back({kelvorn::kRSUnicode, radical,
                      kelvorn::signedResidual(unihan.stroke(cp, kelvorn::kRSUnicode, 1))});
    }
  }
  const int cidValues = unihan.getNumVals(cp, kelvorn::kRSVantu_Japan1_6);
  for (int k = 0; k < cidValues; ++k) {
    const int radical = unihan.radix(cp, kelvorn::kRSVantu_Japan1_6, k);
    const int glyph = unihan.totalVantuStrokes(cp, k);
    const int form = unihan.stroke(cp, kelvorn::kRSVantu_Japan1_6, k);
    if (radical >= 0 && glyph >= 0 && form >= 0) {
      out->push_back({kelvorn::kRSVantu_Japan1_6, radical, kelvorn::signedResidual(glyph - form)});
    }
  }
  std::sort(out->begin(), out->end());
  out->erase(std::unique(out->begin(), out->end()), out->end());
}

CharKey keyFor(kelvorn::UnihanMgr& unihan, int cp) {
  CharKey key{false, 0, 0, 0};
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

// The radical-stroke order as one integer: characters with a value first,
// then radical, signed residual and code point.
std::uint64_t packedRadicalStrokeKey(const CharKey& key, char32_t cp) {
  const std::uint64_t noValue = key.hasRadicalStroke ? 0 : 1;
  const auto residual = static_cast<std::uint64_t>(kelvorn::signedResidual(key.storedResidual) + 128);
  return noValue << 40 | std::uint64_t{key.radical} << 32 | residual << 24 | cp;
}

class Walker {
 public:
  explicit Walker(IndexData* data)
      : data_(data),
        builders_{ReadingTableBuilder(kelvorn::kHanyuPinlu), ReadingTableBuilder(kelvorn::kJapaneseKun),
                  ReadingTableBuilder(kelvorn::kJapaneseOn), ReadingTableBuilder(kelvorn::kMandarin)} {
    data_->radicals.resize(kSourceCount * (kMaxRadical + 1));
  }

  void visit(char32_t codePoint) {
    kelvorn::UnihanMgr& unihan = data_->unihan;
    const int cp = static_cast<int>(codePoint);
    data_->codePoints.push_back(codePoint);
    const CharKey key = keyFor(unihan, cp);
    data_->keys.push_back(key);
    if (key.totalStrokes > 0) data_->strokes[key.totalStrokes].push_back(codePoint);
    collectRadicalValues(unihan, cp, &values_);
    for (const RadicalValue& v : values_) {
      if (v.radical >= 1 && v.radical <= kMaxRadical) {
        data_->radicals[static_cast<std::size_t>(v.source * (kMaxRadical + 1) + v.radical)]
            .push_back({codePoint, v.residual});
      }
    }
    for (int i = 0; i < kReadingFieldCount; ++i) {
      const unihanPropT field = prop(kelvorn::kHanyuPinlu + i);
      if (unihan.getNumVals(cp, field) <= 0) continue;
      readings_.clear();
      unihan.getPronounceData(readings_, cp, field);
      builders_[static_cast<std::size_t>(i)].add(codePoint, readings_);
    }
  }

  // Code points arrived ascending, so a stable sort by residual leaves each
  // residual's characters in code-point order.
  void finish() {
    for (auto& entries : data_->radicals) {
      std::stable_sort(entries.begin(), entries.end(),
                       [](const kelvorn::RadicalEntry& a, const kelvorn::RadicalEntry& b) {
                         return a.residual < b.residual;
                       });
      entries.shrink_to_fit();
    }
    for (auto& list : data_->strokes) sortByRadicalStroke(&list);
    for (int i = 0; i < kReadingFieldCount; ++i) {
      data_->readings[static_cast<std::size_t>(i)] = builders_[static_cast<std::size_t>(i)].build();
    }
    data_->codePoints.shrink_to_fit();
    data_->keys.shrink_to_fit();
  }

 private:
  void sortByRadicalStroke(std::vector<char32_t>* list) const {
    std::vector<std::uint64_t> packed;
    packed.reserve(list->size());
    for (const char32_t cp : *list) packed.push_back(packedRadicalStrokeKey(*data_->keyOf(cp), cp));
    std::sort(packed.begin(), packed.end());
    list->clear();
    list->shrink_to_fit();
    list->reserve(packed.size());
    for (const std::uint64_t p : packed) list->push_back(static_cast<char32_t>(p & 0xFFFFFFU));
  }

  IndexData* data_;
  std::array<ReadingTableBuilder, kReadingFieldCount> builders_;
  std::vector<RadicalValue> values_;
  std::vector<std::string> readings_;
};

}  // namespace

const CharKey* IndexData::keyOf(char32_t codePoint) const noexcept {
  const auto it = std::lower_bound(codePoints.begin(), codePoints.end(), codePoint);
  if (it == codePoints.end() || *it != codePoint) return nullptr;
  return &keys[static_cast<std::size_t>(it - codePoints.begin())];
}

// A code point is held when a block encloses it: getNumVals answers -1 only
// when none does, and asks the first enclosing block, as every query does.
void buildIndex(IndexData* data) {
  Walker walker(data);
  for (char32_t cp = 0; cp <= kLastCodePoint; ++cp) {
    if (data->unihan.getNumVals(static_cast<int>(cp), kelvorn::kMandarin) != -1) walker.visit(cp);
  }
  walker.finish();
}

}  // namespace kelvorn_index_private
