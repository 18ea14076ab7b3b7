// Loads the full bundled database in a fresh process and prints how much
// memory the process held before and after, from /proc/self/status.
//
//   peak_rss text [text-file]        load the Unihan text
//   peak_rss image image-file        load a binary image from its file
//   peak_rss write-image image-file  load the text and write its image
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kelvorn/UnihanMgr.h"
#include "support/Files.h"

namespace {

// The value in kB of one "Name:   123 kB" line, or -1.
long statusKb(const char* name) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return -1;
  char line[256];
  long kb = -1;
  const std::size_t len = std::strlen(name);
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (std::strncmp(line, name, len) == 0 && line[len] == ':') {
      kb = std::strtol(line + len + 1, nullptr, 10);
      break;
    }
  }
  std::fclose(f);
  return kb;
}

using testsupport::CPath;

int load(kelvorn::UnihanMgr& m, const std::string& mode, const std::string& path) {
  if (mode == "image") return m.readUnihanBinary(CPath(path));
  return m.readUnihan(CPath(path));
}

int usage() {
  std::fprintf(stderr, "usage: peak_rss text [file] | image file | write-image file\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string mode = argv[1];
  if (mode != "text" && mode != "image" && mode != "write-image") return usage();
  if (mode != "text" && argc < 3) return usage();
  const std::string path = mode != "text" ? argv[2] : argc > 2 ? argv[2] : KELVORN_BENCH_DATA;

  const long hwmBefore = statusKb("VmHWM"), rssBefore = statusKb("VmRSS");
  kelvorn::UnihanMgr m;
  if (load(m, mode, mode == "write-image" ? KELVORN_BENCH_DATA : path) != 0 || !m.IsValid()) {
    std::fprintf(stderr, "peak_rss: cannot load %s\n", path.c_str());
    return 1;
  }
  if (mode == "write-image") {
    return m.write(CPath(path), 1) == 0 ? 0 : 1;
  }
  std::printf("mode=%s before_hwm_kb=%ld before_rss_kb=%ld hwm_kb=%ld rss_kb=%ld\n",
              mode.c_str(), hwmBefore, rssBefore, statusKb("VmHWM"), statusKb("VmRSS"));
  return 0;
}
