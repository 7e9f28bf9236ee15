// The progress line of the commands over several logs: "mailzolka: 12/1000 logs, 120000 lines" on
// standard error when it is a terminal and the work has taken more than half a second, redrawn in
// place ten times a second (also while one large log is scanned), erased at the end. Nothing when
// standard error is a file or a pipe.
#pragma once
#include <cstddef>

namespace cli {

class ProgressLine {
 public:
  // `printsAsItGoes`: standard output is written while the logs are worked on; when it is the
  // terminal too, the line would cut into it, and the listing shows the progress itself.
  ProgressLine(size_t logs, bool printsAsItGoes);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void LogRead(size_t lines);  // a log is in memory; its lines are being scanned
  void LogDone();
};

// Held while anything else is written to standard error: the line is erased first, so that a
// message never lands behind it.
class StandardErrorLock {
 public:
  StandardErrorLock();
  ~StandardErrorLock();
  StandardErrorLock(const StandardErrorLock&) = delete;
  StandardErrorLock& operator=(const StandardErrorLock&) = delete;
};

}  // namespace cli
