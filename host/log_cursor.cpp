#include "host/log_cursor.h"

#include <algorithm>

namespace host {

bool IsHeadingLine(unsigned char attribute) { return attribute >= 2; }

int HeadingLevel(unsigned char attribute) {
  if (attribute >= 2 && attribute <= 9) return attribute - 2;
  if (attribute >= 10 && attribute <= 17) return attribute - 10;
  return 0;
}

bool IsAttachedHeading(int attribute) { return attribute >= 10 && attribute <= 17; }

// The cursor starts where a terminal's does: on the newest line.
LogCursor::LogCursor(LogStore& log) : log_(log) { CurrentLine = log_.LastPosition(); }

const char* LogCursor::GetLine() { return log_.StoredLine(CurrentLine); }

// The ordinal among the lines held; a position not held gets the ordinal it would have.
int32_t LogCursor::GetLineNumber() {
  return static_cast<int32_t>(static_cast<int64_t>(CurrentLine) - log_.FirstPosition());
}

void LogCursor::MoveFirst() { CurrentLine = log_.FirstPosition(); }

void LogCursor::MoveLast() { CurrentLine = log_.LastPosition(); }

void LogCursor::Move(int32_t count) {
  // In 64 bits: the add-in may move by any count from any position without overflow.
  int64_t target = static_cast<int64_t>(CurrentLine) + count;
  target = std::clamp<int64_t>(target, log_.FirstPosition(), log_.LastPosition());
  CurrentLine = static_cast<LinePosition>(target);
}

int LogCursor::GetHeadingLevel() { return HeadingLevel(log_.Attribute(CurrentLine)); }

const char* LogCursor::GetHeadingText() { return nullHeadingTexts_ ? nullptr : log_.Text(CurrentLine); }

void LogCursor::MoveHome() { CurrentLine = log_.FirstPosition(); }

}  // namespace host
