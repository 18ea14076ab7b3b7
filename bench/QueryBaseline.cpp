// The questions of QueryBench.cpp put to a std::unordered_map filled with the
// library's own answers, and CIDs looked up in a bare array: what a caller
// could build for itself once the data is loaded.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "BenchData.h"
#include "support/CidTable.h"

using kelvorn::UnihanMgr;
using namespace kelvorn;

namespace {

using testsupport::kFirstTableCid;
using testsupport::kLastTableCid;

struct Rec {
  int radixSource = -1, strokeSource = -1, radixPref = -1, strokePref = -1;
  int totalStrokes = -1, vantuCid = -1, numVals = -1;
  int hanYu = -1, volume = 0, page = 0, position = 0, virtualFlag = 0;
  std::vector<std::string> mandarin;
};

Rec askLibrary(UnihanMgr& m, int cp) {
  Rec r;
  r.radixSource = m.radix(cp, kRSUnicode, 0);
  r.strokeSource = m.stroke(cp, kRSUnicode, 0);
  r.radixPref = m.radix(cp, 0);
  r.strokePref = m.stroke(cp, 0);
  r.totalStrokes = m.totalStrokes(cp);
  r.vantuCid = m.getVantuCID(cp, 0);
  r.numVals = m.getNumVals(cp, kMandarin);
  r.hanYu = m.getkHanYuData(static_cast<unsigned>(cp), &r.volume, &r.page, &r.position,
                            &r.virtualFlag);
  m.getPronounceData(r.mandarin, cp, kMandarin);
  return r;
}

const std::unordered_map<int, Rec>& recs() {
  static const std::unordered_map<int, Rec> map = [] {
    std::unordered_map<int, Rec> built;
    for (int cp : benchdata::codePoints()) built.emplace(cp, askLibrary(benchdata::textStore(), cp));
    return built;
  }();
  return map;
}

template <class Field>
void BM_map(benchmark::State& state, Field field) {
  const std::unordered_map<int, Rec>& map = recs();
  benchdata::overCodePoints(state, [&](int cp) {
    const auto it = map.find(cp);
    return it == map.end() ? -1 : field(it->second);
  });
}

void BM_mapPronounce(benchmark::State& state) {
  const std::unordered_map<int, Rec>& map = recs();
  std::vector<std::string> out;
  benchdata::overCodePoints(state, [&](int cp) {
    out.clear();
    const auto it = map.find(cp);
    if (it != map.end()) out.insert(out.end(), it->second.mandarin.begin(), it->second.mandarin.end());
    return out.size();
  });
}

std::vector<std::uint32_t> cidTable() {
  std::vector<std::uint32_t> table(kLastTableCid - kFirstTableCid + 1);
  for (std::uint32_t cid = kFirstTableCid; cid <= kLastTableCid; ++cid) {
    table[cid - kFirstTableCid] = static_cast<std::uint32_t>(benchdata::textStore().getUTF32ForCID(cid));
  }
  return table;
}

int readCid(const std::vector<std::uint32_t>& table, unsigned cid) {
  const std::uint32_t slot = cid - kFirstTableCid;
  return slot < table.size() ? static_cast<int>(table[slot]) : -1;
}

// The same read kept out of line: what any answer behind a function call
// costs at least, before the shared library's own indirection.
__attribute__((noinline)) int readCidOutOfLine(const std::vector<std::uint32_t>& table,
                                               unsigned cid) {
  return readCid(table, cid);
}

void BM_arrayCid(benchmark::State& state) {
  const std::vector<std::uint32_t> table = cidTable();
  benchdata::overCids(state, [&](unsigned cid) { return readCid(table, cid); });
}

void BM_callCid(benchmark::State& state) {
  const std::vector<std::uint32_t> table = cidTable();
  benchdata::overCids(state, [&](unsigned cid) { return readCidOutOfLine(table, cid); });
}

// Matches hanYuSum in QueryBench.cpp.
int hanYuSum(const Rec& r) {
  if (r.hanYu != 0) return -1;
  return r.volume + r.page + r.position + r.virtualFlag;
}

}  // namespace

BENCHMARK_CAPTURE(BM_map, radixBySource, [](const Rec& r) { return r.radixSource; });
BENCHMARK_CAPTURE(BM_map, strokeBySource, [](const Rec& r) { return r.strokeSource; });
BENCHMARK_CAPTURE(BM_map, radixByPref, [](const Rec& r) { return r.radixPref; });
BENCHMARK_CAPTURE(BM_map, strokeByPref, [](const Rec& r) { return r.strokePref; });
BENCHMARK_CAPTURE(BM_map, totalStrokes, [](const Rec& r) { return r.totalStrokes; });
BENCHMARK_CAPTURE(BM_map, getVantuCID, [](const Rec& r) { return r.vantuCid; });
BENCHMARK_CAPTURE(BM_map, getNumVals, [](const Rec& r) { return r.numVals; });
BENCHMARK_CAPTURE(BM_map, getkHanYuData, hanYuSum);
BENCHMARK(BM_mapPronounce)->Name("BM_map/getPronounceData");
BENCHMARK(BM_arrayCid)->Name("BM_array/getUTF32ForCID");
BENCHMARK(BM_callCid)->Name("BM_call/getUTF32ForCID");
