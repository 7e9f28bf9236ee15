// The block loop that the two by-ID listings of received mail share: each header's mail goes into
// the group table; H+2 and H+3 are passed over unseen.
#pragma once
#include <string>

#include "scan/group_table.h"
#include "scan/listing_frame.h"
#include "scan/received_layout.h"

namespace qor {

// How a listing files one received mail into its table.
using FileReceivedMail = void (*)(GroupTable& table, const ReceivedFields& fields, LinePosition header);

// Looks at the block's lines from the cursor on. Stops on a closing line (cursor left on it, false)
// or when the end test finds the last line (true).
bool ScanReceivedBlockById(ListingFrame& frame, LineCursor& cursor, GroupTable& table, FileReceivedMail file);

}  // namespace qor
