#include "cli/shelf.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

#include "platform/sim/desktop.h"

namespace cli {
namespace {

// "mailzolka: 12/1000 logs, 120000 lines" on standard error, rewritten in place at most ten times a
// second once half a second has passed, and erased at the end. Nothing when standard error is no
// terminal: a log file or a pipe gets no carriage returns.
class Progress {
 public:
  explicit Progress(size_t logs) : logs_(logs), shown_(isatty(2) != 0) {}
  ~Progress() {
    if (drawn_) std::cerr << "\r\x1b[K" << std::flush;
  }
  void LogDone(size_t lines) {
    ++done_;
    lines_ += lines;
    if (!shown_) return;
    const auto now = Clock::now();
    if (now - start_ < std::chrono::milliseconds(500) || now - last_ < std::chrono::milliseconds(100)) {
      return;
    }
    last_ = now;
    drawn_ = true;
    std::cerr << "\rmailzolka: " << done_ << '/' << logs_ << " logs, " << lines_ << " lines"
              << std::flush;
  }

 private:
  using Clock = std::chrono::steady_clock;
  size_t logs_;
  size_t done_ = 0;
  size_t lines_ = 0;
  bool shown_;
  bool drawn_ = false;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_{};
};

}  // namespace

void WriteSettings(int viewMode, bool all) {
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"PREVMODE", std::to_string(viewMode)},
                                   {"ALLDISP", all ? "1" : "0"}}) {
    if (!simdesk::WritePrivateProfileString("SYSTEM", key, value.c_str(), "QORMAIL.INI")) {
      throw Failure{"cannot write QORMAIL.INI in " + simdesk::ProfileDirectoryOf("QORMAIL.INI")};
    }
  }
}

int ForEachLog(const Arguments& args, const host::AddinModule& addin, const host::EventOutput& output,
               const std::function<void(const std::string& path, Run& run)>& each) {
  const Encoding encoding = ParseEncoding(args.encoding);
  int status = 0;
  Progress progress(args.operands.size());
  for (const std::string& path : args.operands) {
    size_t lines = 0;
    try {
      host::LogStore log = LoadLog(path, encoding);
      lines = log.HeldCount();
      Run run(addin, std::move(log), path, output);
      each(path, run);
      if (run.substitute->HasPane()) RunScript(run, "detach\n");
    } catch (const UnreadableLog& unreadable) {
      Report(unreadable.message);
      status = kSomeFailed;
    }
    CheckOutput();
    progress.LogDone(lines);
  }
  return status;
}

}  // namespace cli
