#include "scan/listings.h"

#include "base/pane_commands.h"

namespace qor {

bool RunListing(int viewMode) {
  switch (viewMode) {
    case kReceivedInOrder: ListReceivedInOrder(); return true;
    case kReceivedById: ListReceivedById(); return true;
    case kSentInOrder: ListSentInOrder(); return true;
    case kSentById: ListSentById(); return true;
    case kBothById: ListBothById(); return true;
    default: return false;
  }
}

}  // namespace qor
