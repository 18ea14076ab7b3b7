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
struct sigaction gPrevious[sizeof kSignals / sizeof kSignals[0]];

int signalIndex(int signal) {
  for (int i = 0; i < static_cast<int>(sizeof kSignals / sizeof kSignals[0]); ++i) {
    if (kSignals[i] == signal) return i;
  }
  return -1;
}

extern "C" void removeStagingFiles(int signal, siginfo_t* info, void* context) {
  for (int slot = 0; slot < kSlots; ++slot) {
    if (gStates[slot].load() == kReady) (void)::unlink(gPaths[slot].data());
  }
  const int at = signalIndex(signal);
  const struct sigaction& previous = gPrevious[at < 0 ? 0 : at];
  if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
    previous.sa_sigaction(signal, info, context);
    return;
  }
  // Never SIG_IGN: an ignored signal gets no handler here.
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != nullptr) {
    previous.sa_handler(signal);
    return;
  }
  (void)std::signal(signal, SIG_DFL);
  (void)::raise(signal);
}

}  // namespace

int registerStaging(const std::string& path) noexcept {
  if (path.size() >= PATH_MAX) return -1;
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

void unregisterStaging(int slot) noexcept {
  if (slot >= 0 && slot < kSlots) gStates[slot].store(kFree);
}

int createStaging(std::string* nameTemplate, int* slot) noexcept {
  sigset_t held;
  sigset_t previous;
  sigemptyset(&held);
  for (const int signal : kSignals) sigaddset(&held, signal);
  (void)::pthread_sigmask(SIG_BLOCK, &held, &previous);
  const int fd = ::mkostemp(nameTemplate->data(), O_CLOEXEC);
  const int err = errno;
  *slot = fd < 0 ? -1 : registerStaging(*nameTemplate);
  (void)::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  errno = err;
  return fd;
}

void removeStagingFilesOnSignals() {
  for (int i = 0; i < static_cast<int>(sizeof kSignals / sizeof kSignals[0]); ++i) {
    // A signal ignored from the start stays ignored: under nohup, or as a
    // shell's background job, the save is meant to outlive the hang-up or
    // the Ctrl-C, and its staging file with it.
    struct sigaction current {};
    if (::sigaction(kSignals[i], nullptr, &current) == 0 &&
        (current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN) {
      continue;
    }
    struct sigaction action {};
    action.sa_sigaction = removeStagingFiles;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    (void)::sigaction(kSignals[i], &action, &gPrevious[i]);
  }
}

}  // namespace kelvorn_files
