// The add-in's handle on one line of the host's log. The host's LogBuffer has one CurrentLine that
// every cursor shares, so each operation writes its own position there first and, after a move,
// reads it back.
#pragma once
#include <cstdint>

#include "base/addin_state.h"
#include "base/host_abi.h"

namespace qor {

class LineCursor {
 public:
  LineCursor() = default;
  explicit LineCursor(LinePosition position) : position_(position) {}

  LinePosition Position() const { return position_; }

  LineCursor& Next() { return MoveBy(1); }  // inline, as Text: every scanned line takes both
  LineCursor& Previous();
  LineCursor& Back(int32_t count);
  void First();
  void Last();
  void Home();

  bool IsLast() const;
  bool IsFirst() const;
  int32_t LineNumber() const;
  int32_t Distance(const LineCursor& other) const;  // own ordinal minus the other's
  bool Equals(LinePosition position) const { return position_ == position; }

  const char* Text() const {  // without the stored line's first byte
    state.log->CurrentLine = position_;
    return state.log->GetLine() + 1;
  }
  unsigned Attribute() const;
  int Level() const;
  const char* HeadingText() const;

 private:
  LineCursor& MoveBy(int32_t count) {
    state.log->CurrentLine = position_;
    state.log->Move(count);
    position_ = state.log->CurrentLine;
    return *this;
  }
  LinePosition position_ = 0;
};

// Scan frame shared by the listings: where a scan starts (the last 10000 lines unless ALLDISP),
// and the progress range that goes with it.
constexpr int32_t kRecentLines = 10000;
LineCursor ScanStart(bool allLines);
int32_t ScanRange(bool allLines);

}  // namespace qor
