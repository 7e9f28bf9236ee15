// View 1: every received mail under the root, in log order, labelled with its listing text.
#include <string>

#include "base/mail_tree.h"
#include "scan/listing_frame.h"
#include "scan/listings.h"
#include "scan/received_layout.h"
#include "scan/received_record.h"

namespace qor {

void ListReceivedInOrder() {
  ListingFrame frame;
  LineCursor cursor = frame.Start();
  platform::TreeItem lastMail = nullptr;
  std::string joined;
  bool over = false;
  while (!over) {
    if (OpensReceivedBlock(cursor.Text())) {
      cursor.Next();
      frame.Count();
      // Inside the block: no end test before its first line is looked at.
      while (!ClosesReceivedBlock(cursor.Text())) {
        if (IsMailHeader(cursor.Text())) {
          const LinePosition header = cursor.Position();
          ReadMailRecord(cursor, joined);
          // The listing text goes to the tree whole (up to 507 bytes), not through the label buffer.
          lastMail = InsertMail(frame.Root(), CutReceivedFields(joined).listingText, header, MailImages::Received);
          cursor.Next();  // H+2 is passed over unseen
        }
        cursor.Next();
        frame.Count();
        if (frame.AtLastLine(cursor)) {
          over = true;
          break;
        }
      }
      if (over) break;
      // A closing line is looked at again by the outer loop: it may open the next block.
    } else {
      cursor.Next();
      frame.Count();
    }
    over = frame.AtLastLine(cursor);
  }
  frame.Finish(lastMail);
}

}  // namespace qor
