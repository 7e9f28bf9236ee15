#include "base/line_cursor.h"

#include <algorithm>
#include <climits>

#include "base/addin_state.h"

namespace qor {

LineCursor& LineCursor::Previous() { return MoveBy(-1); }
LineCursor& LineCursor::Back(int32_t count) { return MoveBy(-count); }

void LineCursor::First() {
  state.log->MoveFirst();
  position_ = state.log->CurrentLine;
}

void LineCursor::Last() {
  state.log->MoveLast();
  position_ = state.log->CurrentLine;
}

void LineCursor::Home() {
  state.log->MoveHome();
  position_ = state.log->CurrentLine;
}

bool LineCursor::IsLast() const {
  state.log->MoveLast();
  return state.log->CurrentLine == position_;
}

bool LineCursor::IsFirst() const { return LineNumber() == 0; }

int32_t LineCursor::LineNumber() const {
  state.log->CurrentLine = position_;
  return state.log->GetLineNumber();
}

// In 64 bits, then held to 32: the host may report a view line anywhere in the 32-bit range, and
// the difference of two ordinals need not fit.
int32_t LineCursor::Distance(const LineCursor& other) const {
  const int64_t theirs = other.LineNumber();
  const int64_t distance = LineNumber() - theirs;
  return static_cast<int32_t>(std::clamp<int64_t>(distance, INT32_MIN, INT32_MAX));
}

// Positions below 0 are no line of the host's; the array starts at position 0.
unsigned LineCursor::Attribute() const { return position_ < 0 ? 0 : state.attributes[position_]; }

int LineCursor::Level() const {
  state.log->CurrentLine = position_;
  return state.log->GetHeadingLevel();
}

const char* LineCursor::HeadingText() const {
  state.log->CurrentLine = position_;
  return state.log->GetHeadingText();
}

LineCursor ScanStart(bool allLines) {
  LineCursor cursor;
  cursor.First();
  if (!allLines) {
    cursor.Last();
    cursor.Back(kRecentLines);
  }
  return cursor;
}

int32_t ScanRange(bool allLines) {
  LineCursor last;
  last.Last();
  return allLines ? last.LineNumber() : kRecentLines;
}

}  // namespace qor
