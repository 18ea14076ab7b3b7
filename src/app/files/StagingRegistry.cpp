#include "app/files/StagingRegistry.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>

namespace kelvorn_files {
namespace {

constexpr int kSlots = 16;
// SIGBUS too: a file mapped for reading that someone truncates in place
// ends the process at the next read of the lost pages, and what it was
// writing must not stay behind.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGBUS};

enum SlotState : int { kFree, kFilling, kReady };

// Fixed arrays and lock-free atomics: the handler may only read them.
std::array<std::array<char, PATH_MAX>, kSlots> gPaths;
std::array<std::atomic<int>, kSlots> gStates;
// By signal number, so that the handler finds its own without a search.
struct sigaction gPrevious[NSIG];

// The file was made by mkostemp, so its name fits in PATH_MAX: the kernel
// refuses longer ones.
int registerStaging(const std::string& path) noexcept {
  for (int slot = 0; slot < kSlots; ++slot) {
    int expected = kFree;
    if (gStates[slot].compare_exchange_strong(expected, kFilling)) {
      std::memcpy(gPaths[slot].data(), path.c_str(), path.size() + 1);
      gStates[slot].store(kReady);
      return slot;
    }
  }
  return -1;
}

extern "C" void removeStagingFiles(int signal, siginfo_t* info, void* context) {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (gStates[slot].load() == kReady) (void)::unlink(gPaths[slot].data());
  }
  const struct sigaction& previous = gPrevious[signal];
  if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
    previous.sa_sigaction(signal, info, context);
    return;
  }
  // Never SIG_IGN: an ignored signal gets no handler here.
  if (previous.sa_handler != SIG_DFL) {
    previous.sa_handler(signal);
    return;
  }
  (void)std::signal(signal, SIG_DFL);
  (void)::raise(signal);
}

}  // namespace

void unregisterStaging(int slot) noexcept {
  if (slot >= 0) gStates[slot].store(kFree);
}

int createStaging(std::string* nameTemplate, int* slot) noexcept {
  sigset_t held;
  sigset_t previous;
  sigemptyset(&held);
  for (const int signal : kSignals) sigaddset(&held, signal);
  (void)::pthread_sigmask(SIG_BLOCK, &held, &previous);
  const int fd = ::mkostemp(nameTemplate->data(), O_CLOEXEC);
  const int err = errno;
  if (fd >= 0) *slot = registerStaging(*nameTemplate);
  (void)::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = err;
  return fd;
}

void removeStagingFilesOnSignals() {
  for (const int signal : kSignals) {
    // A signal ignored from the start stays ignored: under nohup, or as a
    // shell's background job, the save is meant to outlive the hang-up or
    // the Ctrl-C, and its staging file with it. SIG_IGN ignores whatever
    // the flags say, SA_SIGINFO included.
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_sigaction = removeStagingFiles;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    (void)::sigaction(signal, &action, &gPrevious[signal]);
  }
}

}  // namespace kelvorn_files
