// The lexicon over the bundled 17.0 image: conversion of mixed text against a
// bare UTF-8 decode-and-encode loop over the same text (the floor any
// converter pays), searches and lookups once their indexes stand (built, or
// the stored tables), and what each first use costs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"
#include "kelvorn/Utf8.h"

namespace {

using kelvorn::Script;
using kelvorn::UnihanLexicon;

const kelvorn::UnihanFields& store() {
  static const kelvorn::UnihanFields* fields = [] {
    try {
      return new kelvorn::UnihanFields(kelvorn::UnihanFields::open(KELVORN_BENCH_FIELDS_IMAGE));
    } catch (const kelvorn::FieldsError& e) {
      std::fprintf(stderr, "kelvorn_lexicon_bench: %s\n", e.what());
      std::exit(1);
    }
  }();
  return *fields;
}

// Indexes built once, before the timed loops.
const UnihanLexicon& lexicon() {
  static const UnihanLexicon* built = [] {
    auto* l = new UnihanLexicon(store());
    (void)l->convert(U'漢', Script::kSimplified);
    (void)l->convert(U'汉', Script::kTraditional);
    (void)l->search("lick");
    (void)l->charsWith("kCangjie", "ETLO");
    return l;
  }();
  return *built;
}

// The same over the stored tables, which stand without a build.
UnihanLexicon withStoredTables() {
  try {
    return UnihanLexicon::withStoredTables(store(), KELVORN_BENCH_LEXICON_TABLES);
  } catch (const kelvorn::FieldsError& e) {
    std::fprintf(stderr, "kelvorn_lexicon_bench: %s\n", e.what());
    std::exit(1);
  }
}

const UnihanLexicon& stored() {
  static const UnihanLexicon* opened = new UnihanLexicon(withStoredTables());
  return *opened;
}

// About 4 MB of mixed text, as bench/python_bench.py makes it: lines of
// some 60 bytes, runs of 1 to 12 characters of the URO (U+4E00..U+9FA5)
// between ASCII words and punctuation, with a fixed seed.
const std::string& mixedText() {
  static const std::string text = [] {
    std::mt19937 rng(20231207);
    std::uniform_int_distribution<int> han(0x4E00, 0x9FA5);
    std::uniform_int_distribution<int> run(1, 12);
    const char* const words[] = {"the ", "Unicode ", "2024, ", "font ", "(x) ", "ok. "};
    std::string out;
    std::size_t lineStart = 0;
    while (out.size() < (4u << 20)) {
      for (int i = run(rng); i > 0; --i)
        kelvorn::utf8::append(static_cast<char32_t>(han(rng)), &out);
      out += words[rng() % 6];
      if (out.size() - lineStart > 60) {
        out += '\n';
        lineStart = out.size();
      }
    }
    return out;
  }();
  return text;
}

void bytes(benchmark::State& state, std::size_t n) {
  state.SetBytesProcessed(state.iterations() * static_cast<benchmark::IterationCount>(n));
}

// The floor: every character decoded strictly and written again.
void BM_DecodeEncodeBaseline(benchmark::State& state) {
  const std::string& text = mixedText();
  for (auto _ : state) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    char32_t cp = 0;
    while (kelvorn::utf8::next(text, &pos, &cp)) kelvorn::utf8::append(cp, &out);
    benchmark::DoNotOptimize(out.data());
  }
  bytes(state, text.size());
}
BENCHMARK(BM_DecodeEncodeBaseline)->Unit(benchmark::kMillisecond);

void BM_ConvertToSimplified(benchmark::State& state) {
  const std::string& text = mixedText();
  for (auto _ : state) benchmark::DoNotOptimize(lexicon().convert(text, Script::kSimplified));
  bytes(state, text.size());
}
BENCHMARK(BM_ConvertToSimplified)->Unit(benchmark::kMillisecond);

void BM_ConvertToTraditional(benchmark::State& state) {
  const std::string& text = mixedText();
  for (auto _ : state) benchmark::DoNotOptimize(lexicon().convert(text, Script::kTraditional));
  bytes(state, text.size());
}
BENCHMARK(BM_ConvertToTraditional)->Unit(benchmark::kMillisecond);

void BM_ConvertReportingToTraditional(benchmark::State& state) {
  const std::string& text = mixedText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(lexicon().convertReporting(text, Script::kTraditional));
  }
  bytes(state, text.size());
}
BENCHMARK(BM_ConvertReportingToTraditional)->Unit(benchmark::kMillisecond);

void BM_SearchOneWord(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(lexicon().search("lick"));
}
BENCHMARK(BM_SearchOneWord);

void BM_SearchTwoCommonWords(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(lexicon().search("the water"));
}
BENCHMARK(BM_SearchTwoCommonWords);

void BM_CharsWith(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(&lexicon().charsWith("kCangjie", "ETLO"));
}
BENCHMARK(BM_CharsWith);

void BM_StoredSearchOneWord(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(stored().search("lick"));
}
BENCHMARK(BM_StoredSearchOneWord);

void BM_StoredSearchTwoCommonWords(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(stored().search("the water"));
}
BENCHMARK(BM_StoredSearchTwoCommonWords);

void BM_StoredCharsWith(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(&stored().charsWith("kCangjie", "ETLO"));
}
BENCHMARK(BM_StoredCharsWith);

// First use: a fresh lexicon per iteration answers its first question
// without an index (a short conversion, a search, a lookup).
void BM_FirstConversion(benchmark::State& state) {
  for (auto _ : state) {
    const UnihanLexicon fresh(store());
    benchmark::DoNotOptimize(fresh.convert(U'漢', Script::kSimplified));
  }
}
BENCHMARK(BM_FirstConversion)->Unit(benchmark::kMillisecond);

void BM_FirstSearch(benchmark::State& state) {
  for (auto _ : state) {
    const UnihanLexicon fresh(store());
    benchmark::DoNotOptimize(fresh.search("lick"));
  }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond);

void BM_FirstCharsWithCantonese(benchmark::State& state) {
  for (auto _ : state) {
    const UnihanLexicon fresh(store());
    benchmark::DoNotOptimize(&fresh.charsWith("kCantonese", "hon3"));
  }
}
BENCHMARK(BM_FirstCharsWithCantonese)->Unit(benchmark::kMillisecond);

// The same with the stored tables, opened (mapped and checked) each time.
void BM_StoredFirstSearch(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(withStoredTables().search("lick"));
}
BENCHMARK(BM_StoredFirstSearch)->Unit(benchmark::kMillisecond);

void BM_StoredFirstCharsWithCantonese(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(withStoredTables().charsWith("kCantonese", "hon3").size());
  }
}
BENCHMARK(BM_StoredFirstCharsWithCantonese)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
