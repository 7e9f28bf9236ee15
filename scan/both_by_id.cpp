// View 5: received and sent mail in one pass, grouped by the other party's ID. A group is named
// after the latest received mail of its ID, or by the ID while it holds only sent mail. The IDs
// and names stay behind for the ID registration and the CSV export.
#include <string>
#include <string_view>
#include <utility>

#include "base/addin_state.h"
#include "res/texts.h"
#include "scan/listings.h"
#include "scan/received_block_by_id.h"
#include "scan/sent_anchor.h"
#include "scan/sent_layout.h"

namespace qor {

namespace {

// A direction's prefix and the subject, in one allocation.
std::string Label(std::string_view prefix, std::string_view subject) {
  std::string label;
  label.reserve(prefix.size() + subject.size());
  label.append(prefix).append(subject);
  return label;
}

void FileBySenderLatestName(GroupTable& table, const ReceivedFields& fields, LinePosition header) {
  MailGroup* group = table.GroupFor(fields.senderId, fields.senderName);
  if (!group) return;
  group->party.name = fields.senderName;
  group->mails.push_back({Label(res::kReceivedPrefix, fields.subject), header, MailImages::Received});
}

// The cursor stands on the body prompt (one line further when the mail is on the log's first line).
void RecordSentMail(ListingFrame& frame, LineCursor& cursor, GroupTable& table, LinePosition sendCommand) {
  frame.Count();
  const std::string recipient(RecipientId(cursor.Next().Text()));
  std::string label = Label(res::kSentPrefix, Subject(cursor.Next().Text()));
  const bool firstMail = table.Empty();
  if (MailGroup* group = table.GroupFor(recipient, recipient)) {
    // The mail carries its send-command line even where the moves below clamp at the log's end.
    group->mails.push_back({std::move(label), sendCommand, MailImages::Sent});
  }
  cursor.Previous().Previous().Previous();
  cursor.Next().Next().Next();
  if (!firstMail) frame.Count();
  cursor.Next();
}

}  // namespace

void ListBothById() {
  ListingFrame frame;
  GroupTable table;
  LineCursor cursor = frame.Start();
  do {
    LinePosition sendCommand = 0;
    const std::string_view text = cursor.Text();
    if (OpensReceivedBlock(text)) {
      cursor.Next();
      frame.Count();
      ScanReceivedBlockById(frame, cursor, table, FileBySenderLatestName);
      // The closing line and the line after it are passed over unseen.
      cursor.Next();
      frame.Count();
    } else if (TestSentMailMovingCursor(frame, cursor, text, &sendCommand)) {
      RecordSentMail(frame, cursor, table, sendCommand);
    }
    cursor.Next();
    frame.Count();
  } while (!frame.AtLastLine(cursor));
  frame.Finish(BuildGroupedTree(table));

  state.idEntries.clear();
  for (MailGroup& group : table.Groups()) state.idEntries.push_back(std::move(group.party));
}

}  // namespace qor
