// radix, stroke and totalStrokes, by named source or by preference.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

// Which byte of a pair or CID entry a query answers with: the radical, or
// the stroke count (the residual of a pair, the radical form's strokes of a
// kRSVantu_Japan1_6 value).
enum Want : std::size_t { kRadical = 0, kStroke = 1 };
static_assert(image::pair::kResidual == image::pair::kRadical + kStroke &&
                  image::cidEntry::kRadicalStrokes == image::cidEntry::kRadical + kStroke,
              "the stroke byte follows the radical byte");

// Set bits among flag bits 0 to 3, the sources below source 4. A table,
// because without a popcount instruction the builtin becomes a library call.
constexpr std::uint8_t kLowerSources[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// One value of source s at value index k, or -1.
int extract(const CharView& rec, int source, int valueIndex, Want want) {
  if (source < 0 || source >= kSourceCount || (rec.flags() & (1u << source)) == 0) return -1;
  if (source == kelvorn::kRSVantu_Japan1_6) {
    if (valueIndex < 0 || static_cast<std::size_t>(valueIndex) >= rec.cidCount()) return -1;
    return rec.cidBytes()[static_cast<std::size_t>(valueIndex) * kCidEntryBytes + image::cidEntry::kRadical + want];
  }
  // The pair of source s follows one pair for each lower source present.
  std::size_t pos = kLowerSources[rec.flags() & ((1u << source) - 1)];
  if (source == kelvorn::kRSUnicode && valueIndex == 1) {
    if ((rec.flags() & kFlagSecondUnicode) == 0 || rec.pairCount() == 0) return -1;
    pos = rec.pairCount() - 1;
  }
  if (pos >= rec.pairCount()) return -1;
  return rec.pairBytes()[pos * kPairBytes + image::pair::kRadical + want];
}

// The rare cases, kept out of line with the views they build: inlined, they
// would cost every query register saves and a stack frame.
__attribute__((noinline)) int extractOutOfLine(const UnihanData& store, const CharRec& rec, int source,
                                               int valueIndex, Want want) {
  return extract(store.charView(rec), source, valueIndex, want);
}

int bySource(const UnihanData& store, int codePoint, int source, int valueIndex, Want want) {
  const CharRec* rec = store.charFor(codePoint);
  if (rec == nullptr) return -1;
  // The common case, a pair source's first value kept in the record, reads
  // its byte without building a view.
  const bool firstPair = static_cast<unsigned>(source) < kPairSources &&
                         !(source == kelvorn::kRSUnicode && valueIndex == 1);
  if (firstPair && !rec->spilled()) {
    if ((rec->flags & (1u << source)) == 0) return -1;
    const std::size_t pos = kLowerSources[rec->flags & ((1u << source) - 1)];
    return pos < rec->pairCount ? rec->payload[pos * kPairBytes + image::pair::kRadical + want] : -1;
  }
  return extractOutOfLine(store, *rec, source, valueIndex, want);
}

__attribute__((noinline)) int walk(const UnihanData& store, const CharRec& found, int valueIndex,
                                   Want want) {
  const CharView rec = store.charView(found);
  for (int i = 0; i < kSourceCount; ++i) {
    const std::int32_t source = store.sourcePref()[i];
    if (source == -1) continue;
    const int answer = extract(rec, source, valueIndex, want);
    if (answer != -1) return answer;
  }
  return -1;
}

// The walk answers from the first preferred source whose flag is set, unless
// the record's lists disagree with its flags. For value index 0 and a record
// whose values sit inline, that source comes from a table kept with the
// preference, and the byte is picked without a branch on which source won,
// which the data makes unpredictable.
int byPreference(const UnihanData& store, int codePoint, int valueIndex, Want want) {
  const CharRec* rec = store.charFor(codePoint);
  if (rec == nullptr) return -1;
  if (valueIndex == 0 && !rec->spilled()) {
    const UnihanData::Preferred winner = store.preferredFor(rec->flags);
    const unsigned count = (rec->pairCount & winner.pairMask) | (rec->cidCount & winner.cidMask);
    if (count > winner.minCount) {
      return rec->payload[winner.firstByte + (rec->pairCount & winner.cidMask) * kPairBytes + want];
    }
  }
  return walk(store, *rec, valueIndex, want);
}

}  // namespace

int UnihanData::radix(int codePoint, int source, int valueIndex) const {
  return bySource(*this, codePoint, source, valueIndex, kRadical);
}

int UnihanData::stroke(int codePoint, int source, int valueIndex) const {
  return bySource(*this, codePoint, source, valueIndex, kStroke);
}

int UnihanData::radix(int codePoint, int valueIndex) const {
  return byPreference(*this, codePoint, valueIndex, kRadical);
}

int UnihanData::stroke(int codePoint, int valueIndex) const {
  return byPreference(*this, codePoint, valueIndex, kStroke);
}

int UnihanData::totalStrokes(int codePoint) const {
  const CharRec* rec = charFor(codePoint);
  return rec == nullptr ? -1 : rec->totalStrokes;
}

}  // namespace kelvorn_private
