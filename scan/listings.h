// The five listings of the mail tree, one per view mode. Each runs to its end inside one call.
#pragma once

namespace qor {

void ListReceivedInOrder();  // view 1
void ListReceivedById();     // view 2
void ListSentInOrder();      // view 3
void ListSentById();         // view 4
void ListBothById();         // view 5: also leaves the ID list and the name list behind

// Runs the listing of the view mode; false when the mode names none.
bool RunListing(int viewMode);

}  // namespace qor
