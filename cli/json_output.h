// mailzolka's JSON Lines: one object per tree item (list --json), per ID (ids --json) or per mail
// (mails --json), texts in UTF-8. The schemas are in the README and docs/cli.md.
#pragma once
#include <string>
#include <vector>

#include "cli/mail_records.h"
#include "host/log_store.h"
#include "platform/desktop.h"

namespace cli {

// What a tree item stands for, read from its parameter, images and place as the add-in sets them:
// the root (-1), an ID group (0), a received or a sent mail (the mail images; a mail of the
// sent-by-ID view carries none, but stands in a group), or a heading line (no images, on a line
// the log marks as a heading: under the last group of an ID view a level-1 heading hangs too).
enum class ItemKind { Root, Group, ReceivedMail, SentMail, Heading };
std::vector<ItemKind> KindsOf(const std::vector<desktop::TreeRow>& rows, const host::LogStore& log);

std::string TreeItemJson(const std::string& logPath, int view, const desktop::TreeRow& row,
                         ItemKind kind);

struct IdSummary {
  std::string id;    // code page 932
  std::string name;  // code page 932
  long received = 0;
  long sent = 0;
  std::vector<std::string> logs;  // as given on the command line
};
std::string IdJson(const IdSummary& summary);

// mails --json: one object per mail (the schema is in docs/cli.md).
std::string MailJson(const std::string& logPath, const MailRecord& mail);

}  // namespace cli
