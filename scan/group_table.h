// The by-ID listings' table: groups in order of first appearance, each with its mails in scan
// order. Room for 1000 groups; the mails of further new IDs are not recorded.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/addin_state.h"
#include "base/host_abi.h"
#include "base/mail_tree.h"

namespace qor {

struct GroupedMail {
  std::string label;
  LinePosition position;
  MailImages images;
};

struct MailGroup {
  IdEntry party;  // the other party's ID, and the group item's label
  std::vector<GroupedMail> mails;
};

class GroupTable {
 public:
  static constexpr std::size_t kMaxGroups = 1000;

  bool Empty() const { return groups_.empty(); }
  // The group whose ID equals id byte for byte; a new one named `name` when there is none and room
  // is left; null when the table is full. The index only finds what a walk from the first group
  // would find: IDs are distinct.
  MailGroup* GroupFor(std::string_view id, std::string_view name);
  const std::vector<MailGroup>& Groups() const { return groups_; }
  std::vector<MailGroup>& Groups() { return groups_; }

 private:
  std::vector<MailGroup> groups_;
  std::unordered_map<std::string, std::size_t> index_;
};

// Inserts a group item per group under the root, with its mails; returns the last group item.
platform::TreeItem BuildGroupedTree(const GroupTable& table);

}  // namespace qor
