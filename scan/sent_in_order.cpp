// View 3: every sent mail under the root, in log order, labelled "recipient　　subject".
#include <string>

#include "base/mail_tree.h"
#include "res/texts.h"
#include "scan/listing_frame.h"
#include "scan/listings.h"
#include "scan/sent_layout.h"

namespace qor {

void ListSentInOrder() {
  ListingFrame frame;
  LineCursor cursor = frame.Start();
  platform::TreeItem lastMail = nullptr;
  do {
    if (!IsBodyPrompt(cursor.Text())) {
      cursor.Next();
      frame.Count();  // only these lines move the bar
    } else if (!IsSendCommand(cursor.Previous().Text())) {
      cursor.Next().Next();
    } else {
      const LinePosition sendCommand = cursor.Position();
      std::string label(RecipientId(cursor.Next().Next().Text()));
      label += res::kLabelJoiner;
      label += Subject(cursor.Next().Text());
      lastMail = InsertMail(frame.Root(), LabelText(label), sendCommand, MailImages::Sent);
      cursor.Next();
    }
  } while (!frame.AtLastLine(cursor));
  frame.Finish(lastMail);
}

}  // namespace qor
