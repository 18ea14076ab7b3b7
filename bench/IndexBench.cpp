// The companion index over the bundled data: the time and memory of building
// it from a loaded store, and the cost of each kind of lookup. Memory is the
// heap the index holds once built (and the peak while building), counted by
// this program's own operator new and delete.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <new>
#include <string>
#include <vector>

#include "kelvorn/UnihanIndex.h"

namespace {

std::size_t gLiveBytes = 0;
std::size_t gPeakBytes = 0;

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  gLiveBytes += malloc_usable_size(p);
  if (gLiveBytes > gPeakBytes) gPeakBytes = gLiveBytes;
  return p;
}

// This operator delete pairs with the operator new above, which took the
// block from malloc; GCC cannot see that pairing once both are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  gLiveBytes -= malloc_usable_size(p);
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using kelvorn::UnihanIndex;

kelvorn::UnihanMgr& store() {
  static kelvorn::UnihanMgr* mgr = [] {
    auto* m = new kelvorn::UnihanMgr;
    std::string path = KELVORN_BENCH_DATA;
    if (m->readUnihan(path.data()) != 0) {
      std::fprintf(stderr, "kelvorn_index_bench: cannot read %s\n", path.c_str());
      std::exit(1);
    }
    return m;
  }();
  return *mgr;
}

const UnihanIndex& index() {
  static const UnihanIndex* built = new UnihanIndex(store());
  return *built;
}

void BM_build(benchmark::State& state) {
  store();
  std::size_t held = 0;
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t before = gLiveBytes;
    gPeakBytes = before;
    UnihanIndex ix(store());
    held = gLiveBytes - before;
    peak = gPeakBytes - before;
    benchmark::DoNotOptimize(ix.codePoints().data());
  }
  state.counters["held_MB"] = static_cast<double>(held) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
  state.counters["code_points"] = static_cast<double>(index().codePoints().size());
}

// Opening the same index from its saved bytes, which stay where they are
// (as a mapped file's do): no walk, nothing copied but the small tables.
void BM_openSaved(benchmark::State& state) {
  const auto saved = std::make_shared<const std::string>(index().bytes("bench"));
  std::size_t held = 0;
  for (auto _ : state) {
    const std::size_t before = gLiveBytes;
    std::optional<UnihanIndex> ix = UnihanIndex::fromBytes(store(), saved, *saved, "bench");
    held = gLiveBytes - before;
    benchmark::DoNotOptimize(ix->byRadical(85).data());
  }
  state.counters["held_MB"] = static_cast<double>(held) / 1e6;
  state.counters["saved_MB"] = static_cast<double>(saved->size()) / 1e6;
}

// The walk over the code space that every build makes, alone: the floor
// under the build time, and the yardstick when the machine is busy.
void BM_walkOnly(benchmark::State& state) {
  kelvorn::UnihanMgr& unihan = store();
  for (auto _ : state) {
    int held = 0;
    for (int cp = 0; cp <= 0x10FFFF; ++cp) held += unihan.getNumVals(cp, kelvorn::kMandarin) != -1;
    benchmark::DoNotOptimize(held);
  }
}

// Reports the time of one lookup and of one character of the answers.
void setRates(benchmark::State& state, std::size_t lookups, std::size_t answered) {
  state.counters["per_lookup"] = benchmark::Counter(
      static_cast<double>(lookups), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["per_answer_char"] = benchmark::Counter(
      static_cast<double>(answered), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Every radical of one source, the whole page each time.
void BM_byRadical(benchmark::State& state) {
  const auto source = static_cast<kelvorn::Source>(state.range(0));
  const UnihanIndex& ix = index();
  std::size_t answered = 0;
  for (auto _ : state) {
    answered = 0;
    for (int r = 1; r <= 214; ++r) {
      for (const kelvorn::RadicalEntry& e : ix.byRadical(r, source)) {
        benchmark::DoNotOptimize(e.codePoint);
        ++answered;
      }
    }
  }
  setRates(state, 214, answered);
}

void BM_byTotalStrokes(benchmark::State& state) {
  const UnihanIndex& ix = index();
  std::size_t answered = 0;
  for (auto _ : state) {
    answered = 0;
    for (int s = 1; s <= 64; ++s) {
      for (const char32_t cp : ix.byTotalStrokes(s)) {
        benchmark::DoNotOptimize(cp);
        ++answered;
      }
    }
  }
  setRates(state, 64, answered);
}

// Every distinct kMandarin value of the data as a query, plus its toneless
// and numbered forms for the loose case.
std::vector<std::string> readingQueries(bool loose) {
  std::vector<std::string> queries;
  const UnihanIndex& ix = index();
  std::vector<std::string> seen;
  for (const char32_t cp : ix.codePoints()) {
    for (const std::string& r : ix.readings(cp, kelvorn::Reading::kMandarin)) seen.push_back(r);
  }
  std::sort(seen.begin(), seen.end());
  seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
  for (const std::string& r : seen) {
    queries.push_back(r);
    if (loose) queries.push_back("ZHONG" + std::to_string(queries.size() % 5 + 1));
  }
  return queries;
}

void BM_byReading(benchmark::State& state) {
  const bool loose = state.range(0) == 0;
  const auto match = loose ? kelvorn::ReadingMatch::kLoose : kelvorn::ReadingMatch::kExact;
  const std::vector<std::string> queries = readingQueries(loose);
  const UnihanIndex& ix = index();
  std::size_t answered = 0;
  for (auto _ : state) {
    answered = 0;
    for (const std::string& q : queries)
      answered += ix.byReading(q, kelvorn::Reading::kMandarin, match).size();
  }
  setRates(state, queries.size(), answered);
}

void BM_radicalStrokeKey(benchmark::State& state) {
  const UnihanIndex& ix = index();
  const std::vector<char32_t>& cps = ix.codePoints();
  for (auto _ : state) {
    for (const char32_t cp : cps) benchmark::DoNotOptimize(ix.radicalStrokeKey(cp));
  }
  setRates(state, cps.size(), cps.size());
}

// Two-character words that differ in the second character.
void BM_lessUtf8(benchmark::State& state) {
  const UnihanIndex& ix = index();
  const std::string a = "\xE6\xBC\xA2\xE5\xAD\x97";  // 漢字
  const std::string b = "\xE6\xBC\xA2\xE8\xAA\x9E";  // 漢語
  for (auto _ : state) benchmark::DoNotOptimize(ix.lessUtf8(a, b));
  setRates(state, 1, 2);
}

}  // namespace

BENCHMARK(BM_build)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_walkOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_openSaved)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_byRadical)
    ->Arg(static_cast<int>(kelvorn::Source::kRSUnicode))
    ->Arg(static_cast<int>(kelvorn::Source::kRSVantu_Japan1_6));
BENCHMARK(BM_byTotalStrokes);
BENCHMARK(BM_byReading)->Arg(0)->Arg(1)->ArgName("exact");
BENCHMARK(BM_radicalStrokeKey);
BENCHMARK(BM_lessUtf8);

BENCHMARK_MAIN();
