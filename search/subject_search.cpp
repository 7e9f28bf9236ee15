// Subject search (110) and search next (111): walk the tree in display order from a starting item,
// opening each group on the way and closing it again when the walk reaches the next group, and
// select the first item whose label holds the search text.
#include <string>

#include "base/addin_state.h"
#include "base/mail_tree.h"
#include "platform/message_box.h"
#include "res/texts.h"
#include "search/label_match.h"
#include "search/subject_search.h"
#include "search/subject_search_dialog.h"

namespace qor {

namespace {

// As the tree reports it: the flag given at insertion, which inserting a child sets.
bool HasChildren(platform::TreeView& tree, platform::TreeItem item) { return tree.GetItemChildren(item) != 0; }

// True when an item from `item` on matched: it is selected and becomes the last found item.
bool SearchWalk(platform::TreeItem item) {
  platform::TreeView tree = Tree();
  platform::TreeItem lastExpanded = nullptr;
  while (item) {
    if (LabelContains(tree.GetItemText(item), state.searchText)) {
      tree.SelectItem(item);
      state.lastFound = item;
      return true;
    }
    if (HasChildren(tree, item)) {
      tree.Expand(item, platform::ExpandAction::Expand);
      lastExpanded = item;
    }
    item = tree.GetNextVisible(item);
    if (item && lastExpanded && HasChildren(tree, item)) tree.Expand(lastExpanded, platform::ExpandAction::Collapse);
  }
  // A failed search leaves the groups as the user had them.
  if (lastExpanded) tree.Expand(lastExpanded, platform::ExpandAction::Collapse);
  return false;
}

void ReportNotFound() {
  ShowBox(res::kNotFound);
  state.searchText.clear();
  state.lastFound = nullptr;
}

}  // namespace

void SubjectSearch() {
  SubjectSearchDialog dialog;
  if (dialog.Run(state.searchText) != platform::kIdOk) return;
  platform::TreeView tree = Tree();
  const platform::TreeItem top = tree.GetRoot();
  if (!SearchWalk(top ? tree.GetChild(top) : nullptr)) ReportNotFound();
}

void SearchNext() {
  // The last found item is dropped whenever it is deleted, so it is never a stale handle here.
  const platform::TreeItem start = state.lastFound ? Tree().GetNextSibling(state.lastFound) : nullptr;
  if (!SearchWalk(start)) ReportNotFound();
}

}  // namespace qor
