// The test the two by-ID listings make on every line they look at: is it a body prompt after a
// send command? Both lines are read with Previous and Next, whatever the first one holds: on the
// first line of the log Previous cannot move, so the cursor ends one line further on.
#pragma once
#include <string_view>

#include "base/line_cursor.h"
#include "scan/listing_frame.h"
#include "scan/sent_layout.h"

namespace qor {

// `text` is the cursor's line, read once by the caller for every test it makes on the line.
// sendCommand receives the position of the line read as the send-command line, unless the line is
// no body prompt.
// The cursor may move: at the log's first line it ends one line further on, as the reads would
// leave it. Inline for the lines that are no body prompt, nearly all of them.
bool ReadSendCommand(LineCursor& cursor, LinePosition* sendCommand);  // the rest, at a body prompt
inline bool TestSentMailMovingCursor(const ListingFrame& frame, LineCursor& cursor, std::string_view text,
                       LinePosition* sendCommand) {
  if (IsBodyPrompt(text)) return ReadSendCommand(cursor, sendCommand);
  // Back and on again leaves the cursor where it was, but for the log's first line: the two moves
  // are spared.
  if (frame.AtFirstLine(cursor)) cursor.Next();
  return false;
}

}  // namespace qor
