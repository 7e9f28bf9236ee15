// mailzolka mails and show: one record per mail of a log. Which lines are mail the add-in decides:
// the positions its views 1 (received in order) and 3 (sent in order) carry, read from the tree it
// builds in the host. The fields are read from the log lines at those positions by the add-in's own
// layout code (scan/received_layout.h, scan/sent_layout.h); the tree's labels are never parsed.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/addin_state.h"
#include "cli/command_support.h"

namespace cli {

struct MailRecord {
  host::LinePosition position = 0;  // the header line, or the send-command line
  bool received = true;
  // Code page 932 texts, blanks at either end dropped. A sent mail's name is its ID's (IdNames).
  std::string id, name, subject;
  std::string date;  // ISO 8601 (YYYY-MM-DD); empty when the mail has none (sent mail) or it is unreadable
  std::string time;  // hh:mm; empty likewise
  long size = -1;    // received mail whose listing gives it: bytes; else -1
};

// The views the records come from.
struct MailViews {
  bool received = true;
  bool sent = true;
};

// Attaches the add-in to the log in `run`, lists the views (the whole log, or the pane's last
// 10,000 lines) and reads the records, in log order.
std::vector<MailRecord> ReadMails(Run& run, MailViews views, bool wholeLog);

// The other party of the mail at `position` as the add-in's by-ID views take it for the mail's
// group: a received mail's sender ID and name, or a sent mail's recipient ID (named by itself);
// the log's bytes as they stand, padding and all.
qor::IdEntry PartyOf(host::LogStore& log, host::LinePosition position, bool received);

// The positions of a mail's lines as `show` prints them: a received mail's header and the lines
// after it up to the next mail or the service's next prompt; a sent mail's recipient, subject and
// body lines up to its end mark "/E" (included). `nextMail` is the next mail's position (0: none).
std::vector<host::LinePosition> MailLines(host::LogStore& log, const MailRecord& mail,
                                          host::LinePosition nextMail);

// "yy/mm/dd" as YYYY-MM-DD: years 80 to 99 are 1980 to 1999, 00 to 79 are 2000 to 2079. Empty
// when the text is no such date.
std::string IsoDate(std::string_view yymmdd);

}  // namespace cli
