#include "scan/group_table.h"

namespace qor {

MailGroup* GroupTable::GroupFor(std::string_view id, std::string_view name) {
  std::string key(id);
  if (const auto found = index_.find(key); found != index_.end()) return &groups_[found->second];
  if (groups_.size() >= kMaxGroups) return nullptr;
  // Room for every group at once: growing would move each group's strings and mails again.
  if (groups_.empty()) {
    groups_.reserve(kMaxGroups);
    index_.reserve(kMaxGroups);
  }
  index_.emplace(key, groups_.size());
  groups_.push_back({{std::move(key), std::string(name)}, {}});
  return &groups_.back();
}

platform::TreeItem BuildGroupedTree(const GroupTable& table) {
  platform::TreeItem lastGroup = nullptr;
  for (const MailGroup& group : table.Groups()) {
    lastGroup = InsertGroup(group.party.name);
    for (const GroupedMail& mail : group.mails) InsertMail(lastGroup, LabelText(mail.label), mail.position, mail.images);
  }
  return lastGroup;
}

}  // namespace qor
