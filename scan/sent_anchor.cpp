#include "scan/sent_anchor.h"

#include "scan/sent_layout.h"

namespace qor {

bool ReadSendCommand(LineCursor& cursor, LinePosition* sendCommand) {
  cursor.Previous();
  const bool command = IsSendCommand(cursor.Text());
  *sendCommand = cursor.Position();
  cursor.Next();
  return command;
}

}  // namespace qor
