// The MailTree's item kinds and the add-in's remembered items. Every deletion goes through here so
// that no remembered handle outlives its item (a deleted item's handle must never be used again).
#pragma once
#include <cstdint>
#include <string_view>

#include "base/host_abi.h"
#include "platform/tree_view.h"

namespace qor {

enum class MailImages { Received, Sent, NotGiven };

platform::TreeView Tree();

void ClearTree();                                  // deletes every item, forgets every remembered one
void DeleteItem(platform::TreeItem item);          // deletes the item and its subtree, forgets them
void ForgetItem(platform::TreeItem item);          // drops every remembered reference to the item

platform::TreeItem InsertRoot();                   // the log's title, param -1; becomes state.root
platform::TreeItem InsertGroup(std::string_view label);  // under the root, param 0, children flag 1
platform::TreeItem InsertMail(platform::TreeItem parent, std::string_view label, LinePosition position,
                              MailImages images);
platform::TreeItem InsertHeading(platform::TreeItem parent, const char* text, LinePosition position);

// Item texts go through the 256-byte label buffer: cut to 255 bytes on a character boundary.
std::string_view LabelText(std::string_view text);

}  // namespace qor
