// The test the two by-ID listings make on every line they look at: is it a body prompt after a
// send command? Both lines are read with Previous and Next, whatever the first one holds: on the
// first line of the log Previous cannot move, so the cursor ends one line further on.
#pragma once
#include "addin/line_cursor.h"

namespace qor {

// sendCommand receives the position of the line read as the send-command line.
bool AtSentMail(LineCursor& cursor, LinePosition* sendCommand);

}  // namespace qor
