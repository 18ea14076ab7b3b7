// Sorting words in radical-stroke order: the index's byte sort keys against
// ICU's Unihan collation (zh@collation=unihan) comparing UTF-8 strings, the
// order the two share. ICU is linked here only, as the peer to beat: never
// into the libraries or the tool.
//
// The words are 100,000 seeded random strings of two to four Han characters
// of the 15.0 text, the release this system's ICU knows; before timing, both
// sorts must give the same order. Target: our keys' sort (keys made and
// sorted) takes at most the time of ICU's compareUTF8 sort.
#include <benchmark/benchmark.h>
#include <unicode/coll.h>
#include <unicode/locid.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/Utf8.h"

namespace {

constexpr std::size_t kWords = 100000;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "kelvorn_order_bench: %s\n", what);
  std::exit(1);
}

struct Data {
  kelvorn::UnihanMgr mgr;
  std::unique_ptr<kelvorn::UnihanIndex> index;
  std::vector<std::string> words;
  std::unique_ptr<icu::Collator> collator;
};

Data& data() {
  static Data* d = [] {
    auto* out = new Data;
    std::string path = KELVORN_BENCH_EARLIER_DATA;
    if (out->mgr.readUnihan(path.data()) != 0) fail("cannot read the 15.0 text");
    const kelvorn::UnihanFields fields = kelvorn::UnihanFields::fromText({path}, "15.0");
    kelvorn::RadicalStrokeExtras extras;
    const std::vector<char32_t> han = fields.codePointsWith("kRSUnicode");
    for (const char32_t cp : han) extras.addRSUnicode(cp, *fields.value(cp, "kRSUnicode"));
    for (const char32_t cp : fields.codePointsWith("kCompatibilityVariant")) {
      extras.addCompatibilityVariant(cp, *fields.value(cp, "kCompatibilityVariant"));
    }
    out->index = std::make_unique<kelvorn::UnihanIndex>(out->mgr, extras);
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<std::size_t> pick(0, han.size() - 1);
    std::uniform_int_distribution<int> length(2, 4);
    for (std::size_t i = 0; i < kWords; ++i) {
      std::string word;
      for (int n = length(rng); n > 0; --n) word += kelvorn::utf8::encode(han[pick(rng)]);
      out->words.push_back(std::move(word));
    }
    UErrorCode status = U_ZERO_ERROR;
    out->collator.reset(icu::Collator::createInstance(icu::Locale("zh@collation=unihan"), status));
    if (U_FAILURE(status)) fail("ICU has no zh@collation=unihan");
    return out;
  }();
  return *d;
}

std::vector<std::size_t> icuOrder(const Data& d) {
  std::vector<std::size_t> order(d.words.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&d](std::size_t a, std::size_t b) {
    UErrorCode status = U_ZERO_ERROR;
    return d.collator->compareUTF8(d.words[a], d.words[b], status) == UCOL_LESS;
  });
  return order;
}

// Keys made for every word into one buffer, then the words sorted by them.
std::vector<std::size_t> keyOrder(const Data& d) {
  const std::size_t n = d.words.size();
  std::string keys;
  std::vector<std::size_t> starts(n + 1, 0);
  std::u32string chars;
  for (std::size_t i = 0; i < n; ++i) {
    chars.clear();
    std::size_t pos = 0;
    char32_t cp = 0;
    while (kelvorn::utf8::next(d.words[i], &pos, &cp)) chars.push_back(cp);
    d.index->appendSortKey(chars, kelvorn::SortOrder::kRadicalStroke, &keys);
    starts[i + 1] = keys.size();
  }
  const std::string_view all = keys;
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return all.substr(starts[a], starts[a + 1] - starts[a]) <
           all.substr(starts[b], starts[b + 1] - starts[b]);
  });
  return order;
}

std::vector<std::size_t> lessOrder(const Data& d) {
  std::vector<std::size_t> order(d.words.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&d](std::size_t a, std::size_t b) {
    return d.index->lessUtf8(d.words[a], d.words[b]);
  });
  return order;
}

// The words in each order, compared as text: ties may stand either way.
void requireSameOrder() {
  const Data& d = data();
  const std::vector<std::size_t> a = icuOrder(d), b = keyOrder(d);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (d.index->sortKeyUtf8(d.words[a[i]]) != d.index->sortKeyUtf8(d.words[b[i]])) {
      fail("our keys and ICU order the words differently");
    }
  }
}

void BM_sortIcuCompareUtf8(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(icuOrder(d));
}

void BM_sortByOurKeys(benchmark::State& state) {
  requireSameOrder();
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(keyOrder(d));
}

void BM_sortByLessUtf8(benchmark::State& state) {
  const Data& d = data();
  for (auto _ : state) benchmark::DoNotOptimize(lessOrder(d));
}

}  // namespace

BENCHMARK(BM_sortIcuCompareUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sortByOurKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sortByLessUtf8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
