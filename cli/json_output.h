// mailzolka's JSON Lines: one object per tree item (list --json) or per ID (ids --json), texts in
// UTF-8. The schema is in the README.
#pragma once
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace cli {

// What a tree item stands for, read from its parameter, images and place as the add-in sets them:
// the root (-1), an ID group (0), a received or a sent mail (the mail images; a mail of the
// sent-by-ID view carries none, but stands in a group), or a heading line.
enum class ItemKind { Root, Group, ReceivedMail, SentMail, Heading };
std::vector<ItemKind> KindsOf(const std::vector<desktop::TreeRow>& rows);

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

}  // namespace cli
