// Single-code-point queries of the library over every code point of the
// bundled data. QueryBaseline.cpp times the same questions put to a plain
// hash map; the two files name their cases alike so that they pair up.
#include <string>
#include <vector>

#include "BenchData.h"

using kelvorn::UnihanMgr;
using namespace kelvorn;

namespace {

template <class Query>
void BM_query(benchmark::State& state, Query query) {
  UnihanMgr& m = benchdata::textStore();
  benchdata::overCodePoints(state, [&](int cp) { return query(m, cp); });
}

// The reading lands in one vector reused from call to call, as a caller that
// asks for many characters would do.
void BM_queryPronounce(benchmark::State& state) {
  UnihanMgr& m = benchdata::textStore();
  std::vector<std::string> out;
  benchdata::overCodePoints(state, [&](int cp) {
    out.clear();
    return m.getPronounceData(out, cp, kMandarin).size();
  });
}

void BM_queryCid(benchmark::State& state) {
  UnihanMgr& m = benchdata::textStore();
  benchdata::overCids(state, [&](unsigned cid) { return m.getUTF32ForCID(cid); });
}

// The four outputs are summed so that none of the writes can be dropped.
int hanYuSum(UnihanMgr& m, int cp) {
  int volume = 0, page = 0, position = 0, virtualFlag = 0;
  const int r = m.getkHanYuData(static_cast<unsigned>(cp), &volume, &page, &position, &virtualFlag);
  return r + volume + page + position + virtualFlag;
}

}  // namespace

BENCHMARK_CAPTURE(BM_query, radixBySource,
                  [](UnihanMgr& m, int cp) { return m.radix(cp, kRSUnicode, 0); });
BENCHMARK_CAPTURE(BM_query, strokeBySource,
                  [](UnihanMgr& m, int cp) { return m.stroke(cp, kRSUnicode, 0); });
BENCHMARK_CAPTURE(BM_query, radixByPref, [](UnihanMgr& m, int cp) { return m.radix(cp, 0); });
BENCHMARK_CAPTURE(BM_query, strokeByPref, [](UnihanMgr& m, int cp) { return m.stroke(cp, 0); });
BENCHMARK_CAPTURE(BM_query, totalStrokes, [](UnihanMgr& m, int cp) { return m.totalStrokes(cp); });
BENCHMARK_CAPTURE(BM_query, getVantuCID, [](UnihanMgr& m, int cp) { return m.getVantuCID(cp, 0); });
BENCHMARK_CAPTURE(BM_query, getNumVals,
                  [](UnihanMgr& m, int cp) { return m.getNumVals(cp, kMandarin); });
BENCHMARK_CAPTURE(BM_query, getkHanYuData, hanYuSum);
BENCHMARK(BM_queryPronounce)->Name("BM_query/getPronounceData");
BENCHMARK(BM_queryCid)->Name("BM_query/getUTF32ForCID");
