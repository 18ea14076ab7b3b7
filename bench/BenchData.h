// Data shared by the benchmarks: the bundled text file, one store loaded from
// it, its binary image, and the code points and CIDs to query in a fixed
// shuffled order.
#ifndef KELVORN_BENCH_BENCHDATA_H
#define KELVORN_BENCH_BENCHDATA_H

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "kelvorn/UnihanMgr.h"
#include "support/Files.h"

namespace benchdata {

using testsupport::CPath;
using testsupport::readFile;

const std::string& textPath();
// A file in this run's own temporary directory, which goes at exit.
std::string tempPath(const std::string& name);

// Loaded once, on first use, and kept for the whole run.
kelvorn::UnihanMgr& textStore();
const std::string& image();      // textStore() written in mode 1
const std::string& imagePath();  // the same bytes in a file

// Shuffles with a fixed seed, which keeps the order, and so the cache
// behaviour, the same from run to run.
template <class T>
std::vector<T> shuffled(std::vector<T> v) {
  std::mt19937 rng(20230913);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

// Every code point with a "U+" line in the text file, shuffled.
const std::vector<int>& codePoints();
// Every code point up to the last of the data that the file does not hold,
// shuffled.
const std::vector<int>& missingCodePoints();
// Code points up to one past the last of the data for which getNumVals says
// a block holds them.
std::size_t countKnownCodePoints();
// Every CID for which getUTF32ForCID answers, shuffled.
const std::vector<unsigned>& cids();

// Reports the time of one lookup when every iteration makes `items` of them.
inline void setPerItem(benchmark::State& state, std::size_t items) {
  const auto n = static_cast<double>(items);
  state.SetItemsProcessed(state.iterations() * static_cast<benchmark::IterationCount>(items));
  state.counters["per_item"] = benchmark::Counter(
      n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Runs the query over every item of the list once per iteration, in the
// list's order, and reports the time of one query.
template <class Item, class Query>
void overEach(benchmark::State& state, const std::vector<Item>& list, Query&& query) {
  for (auto _ : state) {
    for (Item item : list) benchmark::DoNotOptimize(query(item));
  }
  setPerItem(state, list.size());
}

// Every code point of the data, shuffled.
template <class Query>
void overCodePoints(benchmark::State& state, Query&& query) {
  overEach(state, codePoints(), std::forward<Query>(query));
}

// Every CID that maps, shuffled.
template <class Query>
void overCids(benchmark::State& state, Query&& query) {
  overEach(state, cids(), std::forward<Query>(query));
}

}  // namespace benchdata

#endif  // KELVORN_BENCH_BENCHDATA_H
