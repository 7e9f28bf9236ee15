// View 2: received mail grouped by sender ID; a group is named after its first mail's sender.
#include <string>

#include "scan/listings.h"
#include "scan/received_block_by_id.h"

namespace qor {

namespace {
void FileBySender(GroupTable& table, const ReceivedFields& fields, LinePosition header) {
  if (MailGroup* group = table.GroupFor(fields.senderId, fields.senderName)) {
    group->mails.push_back({std::string(fields.subject), header, MailImages::Received});
  }
}
}  // namespace

void ListReceivedById() {
  ListingFrame frame;
  GroupTable table;
  LineCursor cursor = frame.Start();
  for (;;) {
    if (OpensReceivedBlock(cursor.Text())) {
      cursor.Next();
      frame.Count();
      if (ScanReceivedBlockById(frame, cursor, table, FileBySender)) break;
    } else {
      cursor.Next();
      frame.Count();
    }
    if (frame.AtLastLine(cursor)) break;
  }
  frame.Finish(BuildGroupedTree(table));
}

}  // namespace qor
