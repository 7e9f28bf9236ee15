#include "scan/sent_anchor.h"

#include "scan/sent_layout.h"

namespace qor {

bool AtSentMail(const ListingFrame& frame, LineCursor& cursor, std::string_view text, LinePosition* sendCommand) {
  if (!IsBodyPrompt(text)) {
    // Back and on again leaves the cursor where it was, but for the log's first line. Most lines
    // end here, so the two moves are spared.
    if (frame.AtFirstLine(cursor)) cursor.Next();
    return false;
  }
  cursor.Previous();
  const bool command = IsSendCommand(cursor.Text());
  *sendCommand = cursor.Position();
  cursor.Next();
  return command;
}

}  // namespace qor
