// Loading and writing the whole bundled database, next to the floors under
// each: reading the same file line by line, copying the image's bytes, and
// writing bytes that are already made. Times are the process's CPU time,
// which other work on a busy machine disturbs less than the wall clock; the
// files are in the page cache, so the two agree on a quiet one.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BenchData.h"

using benchdata::CPath;
using kelvorn::UnihanMgr;

namespace {

// Runs one load per iteration into a fresh store. Making and freeing the
// store stay outside the timing: only the load itself is measured.
template <class Load>
void timeLoads(benchmark::State& state, std::size_t bytes, Load&& load) {
  for (auto _ : state) {
    state.PauseTiming();
    auto mgr = std::make_unique<UnihanMgr>();
    state.ResumeTiming();
    if (!load(*mgr)) {
      state.SkipWithError("load failed");
      break;
    }
    state.PauseTiming();
    mgr.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<benchmark::IterationCount>(bytes));
}

std::size_t textBytes() {
  static const std::size_t n = benchdata::readFile(benchdata::textPath()).size();
  return n;
}

void BM_readUnihan(benchmark::State& state) {
  CPath path(benchdata::textPath());
  timeLoads(state, textBytes(), [&](UnihanMgr& m) { return m.readUnihan(path) == 0; });
}

// The floor under any reader of the file: every line read, nothing parsed.
void BM_fgetsFloor(benchmark::State& state) {
  for (auto _ : state) {
    std::FILE* f = std::fopen(benchdata::textPath().c_str(), "r");
    if (f == nullptr) {
      state.SkipWithError("cannot open the text file");
      break;
    }
    char line[512];
    long lines = 0;
    while (std::fgets(line, sizeof line, f) != nullptr) ++lines;
    std::fclose(f);
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<benchmark::IterationCount>(textBytes()));
}

void BM_readUnihanBinaryBuf(benchmark::State& state) {
  std::vector<char> buf(benchdata::image().begin(), benchdata::image().end());
  const auto len = static_cast<unsigned>(buf.size());
  timeLoads(state, buf.size(), [&](UnihanMgr& m) {
    return m.readUnihanBinaryBuf(buf.data(), len) == static_cast<int>(len);
  });
}

// The floor under any load of the image from memory: its bytes copied once
// into a buffer that is already allocated and touched.
void BM_memcpyFloor(benchmark::State& state) {
  const std::string& image = benchdata::image();
  std::vector<char> warm(image.size(), 1);
  for (auto _ : state) {
    std::memcpy(warm.data(), image.data(), image.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<benchmark::IterationCount>(image.size()));
}

void BM_readUnihanBinary(benchmark::State& state) {
  CPath path(benchdata::imagePath());
  timeLoads(state, benchdata::image().size(),
            [&](UnihanMgr& m) { return m.readUnihanBinary(path) == 0; });
}

// mode 1 writes the binary image, mode 0 the text dump.
void BM_write(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  CPath path(benchdata::tempPath(mode == 0 ? "dump.txt" : "written.bin"));
  for (auto _ : state) {
    if (benchdata::textStore().write(path, mode) != 0) {
      state.SkipWithError("write failed");
      break;
    }
  }
  const std::size_t bytes = benchdata::readFile(path.c_str()).size();
  state.SetBytesProcessed(state.iterations() * static_cast<benchmark::IterationCount>(bytes));
}

// The bytes that BM_write makes in the given mode.
std::string writtenBytes(int mode) {
  if (mode != 0) return benchdata::image();
  CPath path(benchdata::tempPath("dump-source.txt"));
  benchdata::textStore().write(path, 0);
  return benchdata::readFile(path.c_str());
}

// Writing bytes that are already made: the floor under BM_write.
void BM_fwriteBaseline(benchmark::State& state) {
  const std::string made = writtenBytes(static_cast<int>(state.range(0)));
  const std::string path = benchdata::tempPath("fwrite.out");
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(made.data(), 1, made.size(), f) != made.size()) {
      state.SkipWithError("fwrite failed");
      if (f != nullptr) std::fclose(f);
      break;
    }
    std::fclose(f);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<benchmark::IterationCount>(made.size()));
}

}  // namespace

BENCHMARK(BM_readUnihan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_fgetsFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_readUnihanBinaryBuf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_memcpyFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_readUnihanBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_write)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_fwriteBaseline)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
