#include "cli/progress_line.h"

#include <atomic>
#include <chrono>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>

#include <mutex>
#include <thread>
#endif

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;

#ifdef _WIN32
// Windows' test host has one thread (and its compiler no std::mutex): nothing to exclude.
struct NoLock {
  void lock() {}
  void unlock() {}
};
using Lock = NoLock;
#else
using Lock = std::mutex;
#endif

struct Held {
  explicit Held(Lock& lock) : lock(lock) { lock.lock(); }
  ~Held() { lock.unlock(); }
  Lock& lock;
};

struct State {
  Lock lock;  // standard error, and the fields below
  bool drawn = false;
  std::string shown;  // the line on the terminal while drawn
  bool active = false;
  size_t logs = 0;
  std::atomic<size_t> done{0};
  std::atomic<size_t> lines{0};
  Clock::time_point start;
  bool stop = false;
};

State& TheState() {
  static State state;
  return state;
}

bool IsTerminal(int descriptor) {
#ifdef _WIN32
  return _isatty(descriptor) != 0;
#else
  return isatty(descriptor) != 0;
#endif
}

void EraseLocked(State& state) {
  if (!state.drawn) return;
  std::cerr << "\r\x1b[K" << std::flush;
  state.drawn = false;
}

void DrawLocked(State& state) {
  if (!state.active || Clock::now() - state.start < std::chrono::milliseconds(500)) return;
  std::string text = "mailzolka: " + std::to_string(state.done) + '/' + std::to_string(state.logs) +
                     " logs, " + std::to_string(state.lines) + " lines";
  if (state.drawn && text == state.shown) return;
  std::cerr << "\r\x1b[K" << text << std::flush;
  state.shown = std::move(text);
  state.drawn = true;
}

#ifndef _WIN32
std::thread ticker;

void Tick() {
  State& state = TheState();
  for (;;) {
    {
      Held held(state.lock);
      if (state.stop) return;
      DrawLocked(state);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}
#endif

}  // namespace

ProgressLine::ProgressLine(size_t logs, bool printsAsItGoes) {
  State& state = TheState();
  Held held(state.lock);
  state.active = IsTerminal(2) && !(printsAsItGoes && IsTerminal(1));
  state.logs = logs;
  state.done = 0;
  state.lines = 0;
  state.start = Clock::now();
  state.stop = false;
#ifndef _WIN32
  // A clock of its own, so that the line moves while a large log is scanned.
  if (state.active) ticker = std::thread(Tick);
#endif
}

ProgressLine::~ProgressLine() {
  State& state = TheState();
  {
    Held held(state.lock);
    state.stop = true;
  }
#ifndef _WIN32
  if (ticker.joinable()) ticker.join();
#endif
  Held held(state.lock);
  EraseLocked(state);
  state.active = false;
}

void ProgressLine::LogRead(size_t lines) { TheState().lines += lines; }

void ProgressLine::LogDone() {
  State& state = TheState();
  ++state.done;
#ifdef _WIN32
  Held held(state.lock);  // no clock of its own: drawn after each log
  DrawLocked(state);
#endif
}

StandardErrorLock::StandardErrorLock() {
  State& state = TheState();
  state.lock.lock();
  EraseLocked(state);
}

StandardErrorLock::~StandardErrorLock() { TheState().lock.unlock(); }

}  // namespace cli
