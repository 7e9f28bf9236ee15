#include "scan/sent_anchor.h"

#include "scan/sent_layout.h"

namespace qor {

bool AtSentMail(LineCursor& cursor, LinePosition* sendCommand) {
  const bool bodyPrompt = IsBodyPrompt(cursor.Text());
  cursor.Previous();
  const bool command = bodyPrompt && IsSendCommand(cursor.Text());
  *sendCommand = cursor.Position();
  cursor.Next();
  return command;
}

}  // namespace qor
