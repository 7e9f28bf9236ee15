// View 4: sent mail grouped by recipient ID; the group is labelled with the ID itself and its mails
// with their subjects, inserted without images.
#include <string>

#include "scan/group_table.h"
#include "scan/listing_frame.h"
#include "scan/listings.h"
#include "scan/sent_anchor.h"
#include "scan/sent_layout.h"

namespace qor {

void ListSentById() {
  ListingFrame frame;
  GroupTable table;
  LineCursor cursor = frame.Start();
  do {
    LinePosition unused = 0;
    if (TestSentMailMovingCursor(frame, cursor, cursor.Text(), &unused)) {
      const LinePosition sendCommand = cursor.Previous().Position();
      cursor.Next();
      frame.Count();
      const std::string recipient(RecipientId(cursor.Next().Text()));
      const std::string subject(Subject(cursor.Next().Text()));
      const bool firstMail = table.Empty();
      if (MailGroup* group = table.GroupFor(recipient, recipient)) {
        group->mails.push_back({subject, sendCommand, MailImages::NotGiven});
      }
      if (!firstMail) frame.Count();
      cursor.Next();
    }
    cursor.Next();
    frame.Count();
  } while (!frame.AtLastLine(cursor));
  frame.Finish(BuildGroupedTree(table));
}

}  // namespace qor
