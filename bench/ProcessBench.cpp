// A fresh `unihan show 漢` and `unihan radical 85`, start to exit, next to a
// process that only reads the same image and exits. Each iteration starts one process and waits for
// it; what it prints goes to /dev/null. Besides the wall time, the CPU time
// that the processes took is reported, a steadier figure on a busy machine.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "BenchData.h"

namespace {

// Runs the command and waits for it, adding the CPU time it took to *cpuMs;
// true when it exited with status 0.
bool runQuietly(const std::vector<std::string>& command, double* cpuMs) {
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid) return false;
  *cpuMs += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
            (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_process(benchmark::State& state, const std::vector<std::string>& command) {
  double cpuMs = 0;
  for (auto _ : state) {
    if (!runQuietly(command, &cpuMs)) {
      state.SkipWithError("the command failed");
      break;
    }
  }
  state.counters["process_cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}

}  // namespace

// The tool finds the bundled image next to itself in the build tree.
BENCHMARK_CAPTURE(BM_process, unihanShow,
                  std::vector<std::string>{KELVORN_BENCH_TOOL, "show", "漢"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// A radical page answers from the index saved beside the bundled images.
BENCHMARK_CAPTURE(BM_process, unihanRadical85,
                  std::vector<std::string>{KELVORN_BENCH_TOOL, "radical", "85"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_process, readImage,
                  std::vector<std::string>{KELVORN_BENCH_READ_IMAGE, KELVORN_BENCH_IMAGE})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
