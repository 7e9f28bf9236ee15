// The test the two by-ID listings make on every line they look at: is it a body prompt after a
// send command? Both lines are read with Previous and Next, whatever the first one holds: on the
// first line of the log Previous cannot move, so the cursor ends one line further on.
#pragma once
#include <string_view>

#include "addin/line_cursor.h"
#include "scan/listing_frame.h"

namespace qor {

// `text` is the cursor's line, read once by the caller for every test it makes on the line.
// sendCommand receives the position of the line read as the send-command line, unless the line is
// no body prompt.
bool AtSentMail(const ListingFrame& frame, LineCursor& cursor, std::string_view text, LinePosition* sendCommand);

}  // namespace qor
