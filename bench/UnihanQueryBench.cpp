// The typed queries of kelvorn::Unihan over every code point of the bundled
// data, against the core's own queries in QueryBench.cpp: what the facade
// adds to each answer.
#include <string>
#include <vector>

#include "BenchData.h"
#include "kelvorn/Unihan.h"

using kelvorn::Source;
using kelvorn::Unihan;

namespace {

const Unihan& unihan() {
  static const Unihan loaded = Unihan::fromMemory(benchdata::image());
  return loaded;
}

// Each answer is folded into an int, so that none can be dropped.
template <class Query>
void BM_unihan(benchmark::State& state, Query query) {
  const Unihan& u = unihan();
  benchdata::overCodePoints(state, [&](int cp) { return query(u, static_cast<char32_t>(cp)); });
}

int radicalStroke(const Unihan& u, char32_t cp) {
  const auto rs = u.radicalStroke(cp, Source::kRSKangXi);
  return rs ? rs->radical + rs->residual : -1;
}

int preferred(const Unihan& u, char32_t cp) {
  const auto rs = u.preferredRadicalStroke(cp);
  return rs ? rs->value.radical + rs->value.residual : -1;
}

int cid(const Unihan& u, char32_t cp) {
  const auto c = u.cid(cp);
  return c ? c->cid + c->radical + c->glyphStrokes : -1;
}

int readings(const Unihan& u, char32_t cp) {
  return static_cast<int>(u.readings(cp, kelvorn::Reading::kMandarin).size());
}

int hanYu(const Unihan& u, char32_t cp) {
  const auto h = u.hanYu(cp);
  return h ? h->volume + h->page + h->position : -1;
}

}  // namespace

BENCHMARK_CAPTURE(BM_unihan, contains, [](const Unihan& u, char32_t cp) { return u.contains(cp) ? 1 : 0; });
BENCHMARK_CAPTURE(BM_unihan, radicalStroke, radicalStroke);
BENCHMARK_CAPTURE(BM_unihan, preferredRadicalStroke, preferred);
BENCHMARK_CAPTURE(BM_unihan, totalStrokes, [](const Unihan& u, char32_t cp) { return u.totalStrokes(cp).value_or(-1); });
BENCHMARK_CAPTURE(BM_unihan, cid, cid);
BENCHMARK_CAPTURE(BM_unihan, readings, readings);
BENCHMARK_CAPTURE(BM_unihan, hanYu, hanYu);
