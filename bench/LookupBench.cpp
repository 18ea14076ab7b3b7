// The range lookup on three stores: the bundled data, many one-code-point
// blocks in code-point order, and the most blocks an image can hold, nested
// in one another (LookupInputs.h). Each is asked totalStrokes for code
// points it holds (hits) and for code points it does not (misses).
#include <algorithm>
#include <fstream>
#include <vector>

#include "BenchData.h"
#include "LookupInputs.h"

using benchdata::CPath;
using kelvorn::UnihanMgr;
using lookupinputs::Probe;
using lookupinputs::Probes;

namespace {

using StoreFn = UnihanMgr& (*)();
using ProbesFn = const Probes& (*)();

// Each store is loaded on first use and kept for the run; a failed load
// leaves it invalid, which its benchmarks report.
UnihanMgr& sortedStore() {
  static UnihanMgr* store = [] {
    const std::string path = benchdata::tempPath("sorted.txt");
    std::ofstream(path, std::ios::binary) << lookupinputs::sortedText();
    auto* m = new UnihanMgr;
    m->readUnihan(CPath(path));
    return m;
  }();
  return *store;
}

UnihanMgr& nestedStore() {
  static UnihanMgr* store = [] {
    std::string image = lookupinputs::nestedImage();
    auto* m = new UnihanMgr;
    m->readUnihanBinaryBuf(image.data(), static_cast<unsigned>(image.size()));
    return m;
  }();
  return *store;
}

Probes realProbes(const std::vector<int>& codePoints) {
  Probes probes;
  for (int cp : codePoints) probes.push_back({cp, benchdata::textStore().totalStrokes(cp)});
  return probes;
}

const Probes& realHits() {
  static const Probes p = realProbes(benchdata::codePoints());
  return p;
}
const Probes& realMisses() {
  static const Probes p = realProbes(benchdata::missingCodePoints());
  return p;
}
const Probes& sortedHits() {
  static const Probes p = benchdata::shuffled(lookupinputs::sortedHits());
  return p;
}
const Probes& sortedMisses() {
  static const Probes p = benchdata::shuffled(lookupinputs::sortedMisses());
  return p;
}
const Probes& nestedHits() {
  static const Probes p = benchdata::shuffled(lookupinputs::nestedHits());
  return p;
}
const Probes& nestedMisses() {
  static const Probes p = benchdata::shuffled(lookupinputs::nestedMisses());
  return p;
}

// A sample is enough to catch a store that did not load as built; checking
// every probe would take minutes where the lookup walks the blocks.
template <class Lookup>
bool answersRight(const Probes& probes, Lookup&& lookup) {
  const std::size_t sample = std::min<std::size_t>(probes.size(), 256);
  for (std::size_t i = 0; i < sample; ++i) {
    if (lookup(probes[i].codePoint) != probes[i].answer) return false;
  }
  return true;
}

void BM_lookup(benchmark::State& state, StoreFn store, ProbesFn probes) {
  UnihanMgr& m = store();
  auto lookup = [&](int cp) { return m.totalStrokes(cp); };
  if (!m.IsValid() || !answersRight(probes(), lookup)) {
    state.SkipWithError("the store does not answer as built");
    return;
  }
  benchdata::overEach(state, probes(), [&](const Probe& p) { return lookup(p.codePoint); });
}

// The nested blocks cut the code space into segments, each answered by the
// first block that covers it. One binary search over the segments' starts,
// then a read of that block's one record, is the floor under any lookup
// that costs O(log n) in the blocks.
class NestedSegments {
 public:
  NestedSegments() {
    for (int j = 0; j < lookupinputs::kNestedBlocks; ++j) {
      starts_.push_back(lookupinputs::nestedFirst(j));
      starts_.push_back(lookupinputs::nestedLast(j) + 1);
      blockFirst_.push_back(lookupinputs::nestedFirst(j));
      blockStrokes_.push_back(lookupinputs::strokesOf(j));
    }
    std::sort(starts_.begin(), starts_.end());
    starts_.erase(std::unique(starts_.begin(), starts_.end()), starts_.end());
    for (int start : starts_) segmentBlock_.push_back(lookupinputs::nestedAnsweringBlock(start));
  }

  int totalStrokes(int cp) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), cp);
    if (after == starts_.begin()) return -1;
    const int block = segmentBlock_[static_cast<std::size_t>(after - starts_.begin() - 1)];
    if (block == -1) return -1;
    const auto b = static_cast<std::size_t>(block);
    return cp == blockFirst_[b] ? blockStrokes_[b] : -1;
  }

 private:
  std::vector<int> starts_, segmentBlock_, blockFirst_, blockStrokes_;
};

void BM_segmentFloor(benchmark::State& state, ProbesFn probes) {
  const NestedSegments segments;
  auto lookup = [&](int cp) { return segments.totalStrokes(cp); };
  if (!answersRight(probes(), lookup)) {
    state.SkipWithError("the segments do not answer as the blocks do");
    return;
  }
  benchdata::overEach(state, probes(), [&](const Probe& p) { return lookup(p.codePoint); });
}

}  // namespace

BENCHMARK_CAPTURE(BM_lookup, real_hit, benchdata::textStore, realHits);
BENCHMARK_CAPTURE(BM_lookup, real_miss, benchdata::textStore, realMisses);
BENCHMARK_CAPTURE(BM_lookup, sorted_hit, sortedStore, sortedHits);
BENCHMARK_CAPTURE(BM_lookup, sorted_miss, sortedStore, sortedMisses);
BENCHMARK_CAPTURE(BM_lookup, nested_hit, nestedStore, nestedHits);
BENCHMARK_CAPTURE(BM_lookup, nested_miss, nestedStore, nestedMisses);
BENCHMARK_CAPTURE(BM_segmentFloor, nested_hit, nestedHits);
BENCHMARK_CAPTURE(BM_segmentFloor, nested_miss, nestedMisses);
