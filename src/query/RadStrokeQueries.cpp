// radix, stroke and totalStrokes, by named source or by preference.
#include "query/RecordAccess.h"

namespace kelvorn_private {
namespace {

enum class Want { kRadical, kStroke };

// Set bits among flag bits 0 to 3, the sources below source 4. A table,
// because without a popcount instruction the builtin becomes a library call.
constexpr std::uint8_t kLowerSources[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};

// One value of source s at value index k, or -1. For kRSVantu_Japan1_6 the
// stroke count is that of the radical's form; for the other sources it is the
// residual count.
int extract(const UnihanCharRec& rec, int source, int valueIndex, Want want) {
  if (source < 0 || source >= kSourceCount || (rec.flags & (1u << source)) == 0) {
    return -1;
  }
  if (source == kelvorn::kRSVantu_Japan1_6) {
    if (valueIndex < 0 || static_cast<std::size_t>(valueIndex) >= rec.cids.size()) {
      return -1;
    }
    const CidEntry& entry = rec.cids[static_cast<std::size_t>(valueIndex)];
    return want == Want::kRadical ? entry.radical : entry.radicalStrokes;
  }
  // The pair of source s follows one pair for each lower source present.
  std::size_t pos = kLowerSources[rec.flags & ((1u << source) - 1)];
  if (source == kelvorn::kRSUnicode && valueIndex == 1) {
    if ((rec.flags & kFlagSecondUnicode) == 0 || rec.rs.empty()) return -1;
    pos = rec.rs.size() - 1;
  }
  if (pos >= rec.rs.size()) return -1;
  return want == Want::kRadical ? rec.rs[pos].radical : rec.rs[pos].residual;
}

int bySource(const UnihanData& store, int codePoint, int source, int valueIndex,
             Want want) {
  const UnihanCharRec* rec = charRecordAt(store, codePoint);
  return rec == nullptr ? -1 : extract(*rec, source, valueIndex, want);
}

// The lookup does not depend on the source, so it runs once for the walk.
int byPreference(const UnihanData& store, int codePoint, int valueIndex, Want want) {
  const UnihanCharRec* rec = charRecordAt(store, codePoint);
  if (rec == nullptr) return -1;
  for (const std::int32_t source : store.sourcePref) {
    if (source == -1) continue;
    const int answer = extract(*rec, source, valueIndex, want);
    if (answer != -1) return answer;
  }
  return -1;
}

}  // namespace

void UnihanData::setRadixStrokeSourcePref(const kelvorn::unihanPropT* pref) {
  for (int i = 0; i < kSourceCount; ++i) sourcePref[i] = pref[i];
}

int UnihanData::radix(int codePoint, int source, int valueIndex) const {
  return bySource(*this, codePoint, source, valueIndex, Want::kRadical);
}

int UnihanData::stroke(int codePoint, int source, int valueIndex) const {
  return bySource(*this, codePoint, source, valueIndex, Want::kStroke);
}

int UnihanData::radix(int codePoint, int valueIndex) const {
  return byPreference(*this, codePoint, valueIndex, Want::kRadical);
}

int UnihanData::stroke(int codePoint, int valueIndex) const {
  return byPreference(*this, codePoint, valueIndex, Want::kStroke);
}

int UnihanData::totalStrokes(int codePoint) const {
  const UnihanCharRec* rec = charRecordAt(*this, codePoint);
  return rec == nullptr ? -1 : rec->totalStrokes;
}

}  // namespace kelvorn_private
