#include "scan/listings.h"

namespace qor {

bool RunListing(int viewMode) {
  switch (viewMode) {
    case 1: ListReceivedInOrder(); return true;
    case 2: ListReceivedById(); return true;
    case 3: ListSentInOrder(); return true;
    case 4: ListSentById(); return true;
    case 5: ListBothById(); return true;
    default: return false;
  }
}

}  // namespace qor
