// The all-field store over the bundled 17.0 image: what opening costs (a
// mapping and the header checks, nothing read beyond them), what a full
// checksum costs, and the cost of each kind of lookup over the code points
// in a fixed shuffled order, so that the caches see a realistic spread.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "kelvorn/UnihanFields.h"

namespace {

using kelvorn::UnihanFields;

const UnihanFields& store() {
  static const UnihanFields* fields = [] {
    try {
      return new UnihanFields(UnihanFields::open(KELVORN_BENCH_FIELDS_IMAGE));
    } catch (const kelvorn::FieldsError& e) {
      std::fprintf(stderr, "kelvorn_fields_bench: %s\n", e.what());
      std::exit(1);
    }
  }();
  return *fields;
}

template <class T>
std::vector<T> shuffled(std::vector<T> v) {
  std::mt19937 rng(20230913);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

// One (code point, field) pair for every value the data holds, shuffled.
const std::vector<std::pair<char32_t, std::string>>& heldPairs() {
  static const auto pairs = [] {
    std::vector<std::pair<char32_t, std::string>> all;
    for (const char32_t cp : store().codePoints()) {
      for (const kelvorn::FieldValue& fv : store().fields(cp)) all.emplace_back(cp, fv.field);
    }
    return shuffled(std::move(all));
  }();
  return pairs;
}

const std::vector<char32_t>& codePoints() {
  static const std::vector<char32_t> cps = shuffled(store().codePoints());
  return cps;
}

void perItem(benchmark::State& state, std::size_t items) {
  state.SetItemsProcessed(state.iterations() * static_cast<benchmark::IterationCount>(items));
  state.counters["per_item"] = benchmark::Counter(
      static_cast<double>(items),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_openFile(benchmark::State& state) {
  for (auto _ : state) {
    const UnihanFields f = UnihanFields::open(KELVORN_BENCH_FIELDS_IMAGE);
    benchmark::DoNotOptimize(f.codePointCount());
  }
  state.counters["image_MB"] = static_cast<double>(store().imageBytes().size()) / 1e6;
}

void BM_openBuffer(benchmark::State& state) {
  const std::string_view bytes = store().imageBytes();
  for (auto _ : state) {
    const UnihanFields f = UnihanFields::fromBuffer(bytes);
    benchmark::DoNotOptimize(f.codePointCount());
  }
}

void BM_verify(benchmark::State& state) {
  for (auto _ : state) store().verify();
  state.SetBytesProcessed(state.iterations() *
                          static_cast<benchmark::IterationCount>(store().imageBytes().size()));
}

// Every value the data holds, each looked up by code point and field name.
void BM_valueByName(benchmark::State& state) {
  const auto& pairs = heldPairs();
  for (auto _ : state) {
    for (const auto& [cp, field] : pairs) benchmark::DoNotOptimize(store().value(cp, field));
  }
  perItem(state, pairs.size());
}

// One field for every code point: the name's search stays in the cache.
void BM_valueOneField(benchmark::State& state) {
  for (auto _ : state) {
    for (const char32_t cp : codePoints()) benchmark::DoNotOptimize(store().value(cp, "kCangjie"));
  }
  perItem(state, codePoints().size());
}

void BM_valueAtIndex(benchmark::State& state) {
  const std::size_t field = *store().fieldIndex("kTotalStrokes");
  for (auto _ : state) {
    for (const char32_t cp : codePoints()) benchmark::DoNotOptimize(store().valueAt(cp, field));
  }
  perItem(state, codePoints().size());
}

// 4,096 code points of the CJK block over and over: the image's parts they
// touch stay in the cache, which leaves the lookup's own work.
void BM_valueWarm(benchmark::State& state) {
  for (auto _ : state) {
    for (char32_t cp = 0x4E00; cp < 0x5E00; ++cp) benchmark::DoNotOptimize(store().value(cp, "kCangjie"));
  }
  perItem(state, 0x1000);
}

void BM_valueAtWarm(benchmark::State& state) {
  const std::size_t field = *store().fieldIndex("kCangjie");
  for (auto _ : state) {
    for (char32_t cp = 0x4E00; cp < 0x5E00; ++cp) benchmark::DoNotOptimize(store().valueAt(cp, field));
  }
  perItem(state, 0x1000);
}

// The name's part of a lookup by name, over every field name in turn.
void BM_fieldIndex(benchmark::State& state) {
  const std::vector<std::string_view> names = store().fieldNames();
  for (auto _ : state) {
    for (const std::string_view name : names) benchmark::DoNotOptimize(store().fieldIndex(name));
  }
  perItem(state, names.size());
}

void BM_missingCodePoint(benchmark::State& state) {
  for (auto _ : state) {
    for (char32_t cp = 0xE000; cp < 0xF000; ++cp) benchmark::DoNotOptimize(store().value(cp, "kCangjie"));
  }
  perItem(state, 0x1000);
}

void BM_fields(benchmark::State& state) {
  for (auto _ : state) {
    for (const char32_t cp : codePoints()) benchmark::DoNotOptimize(store().fields(cp).size());
  }
  perItem(state, codePoints().size());
}

void BM_buildFromText(benchmark::State& state) {
  for (auto _ : state) {
    const UnihanFields f = UnihanFields::fromText({KELVORN_BENCH_FIELDS_TEXT}, "17.0");
    benchmark::DoNotOptimize(f.codePointCount());
  }
}

}  // namespace

BENCHMARK(BM_openFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_openBuffer);
BENCHMARK(BM_verify)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_valueByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_valueOneField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_valueAtIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_valueWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_valueAtWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fieldIndex);
BENCHMARK(BM_missingCodePoint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_fields)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_buildFromText)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
