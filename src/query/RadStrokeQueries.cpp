// radix, stroke and totalStrokes, by named source or by preference.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

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
