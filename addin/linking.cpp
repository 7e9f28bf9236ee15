#include "addin/linking.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/addin_state.h"
#include "base/line_cursor.h"
#include "base/mail_tree.h"

namespace qor {

namespace {

constexpr unsigned kTopHeading = 2;

// Positions from outside (the host's notices) are checked before the attribute array is indexed
// with them: only lines the host holds have a place in it.
bool IsHeld(LinePosition position) {
  const int32_t ordinal = LineCursor(position).LineNumber();
  LineCursor last;
  last.Last();
  return ordinal >= 0 && ordinal <= last.LineNumber();
}

int ClampLevel(int level, int lowest) { return std::clamp(level, lowest, kHeadingLevels - 1); }

void Select(platform::TreeItem item) { Tree().SelectItem(item); }

// The children of an item; those of none are the top-level items (before any listing made a
// root, headings hang there).
platform::TreeItem FirstChild(platform::TreeItem item) {
  return item ? Tree().GetChild(item) : Tree().GetRoot();
}

}  // namespace

SelectionSyncScope::SelectionSyncScope() : was_(state.selectionSync) { state.selectionSync = true; }

SelectionSyncScope::~SelectionSyncScope() { state.selectionSync = was_; }

void ShowSelectedItem(platform::TreeItem item) {
  if (state.selectionSync || !item) return;
  if (item == state.root) {
    LineCursor home;
    home.Home();
    const ViewRequest request{home.Position(), -1};
    state.host->ShowPosition(&request, 0);
    return;
  }
  state.host->ShowLine(Tree().GetItemParam(item));
}

void FollowHostView() {
  platform::TreeView tree = Tree();
  LinePosition firstLine = 0, secondLine = 0;
  state.host->GetViewLines(&firstLine, &secondLine);
  const LineCursor first(firstLine), second(secondLine);
  if (first.IsLast() && second.IsFirst()) {
    Select(state.root);
    return;
  }
  platform::TreeItem item = state.root;
  for (;;) {
    platform::TreeItem best = nullptr;
    for (platform::TreeItem child = FirstChild(item); child; child = tree.GetNextSibling(child)) {
      const LinePosition param = tree.GetItemParam(child);
      if (first.Distance(LineCursor(param)) > 0) {
        best = child;
        continue;
      }
      if (first.Equals(param)) {
        Select(child);
        return;
      }
      break;
    }
    if (!best) break;
    item = best;
    FillOnExpand(item);
  }
  Select(item);
}

void FillOnExpand(platform::TreeItem item) {
  platform::TreeView tree = Tree();
  const LinePosition param = tree.GetItemParam(item);
  if (param == -1 || tree.GetItemChildren(item) == 0) return;
  LineCursor cursor(param);
  if (!IsHeld(param) || cursor.Attribute() != kTopHeading || tree.GetChild(item)) return;

  std::array<platform::TreeItem, kHeadingLevels> anchors{};
  anchors[0] = item;
  int level = 1;
  int count = 0;
  for (;;) {
    const unsigned attribute = cursor.Next().Attribute();
    if (attribute == kTopHeading) break;  // the next group begins
    if (attribute > kTopHeading) {
      const std::string text = cursor.HeadingText();
      platform::TreeItem parent;
      bool opensLevel = false;
      if (state.host->IsAttachedAttribute(static_cast<int>(attribute))) {
        parent = anchors[level] ? anchors[level] : anchors[level - 1];
      } else {
        // Level 0 has no place below the item being filled: it opens level 1 under it.
        level = ClampLevel(cursor.Level(), 1);
        parent = anchors[level - 1];
        opensLevel = true;
      }
      const platform::TreeItem inserted = InsertHeading(parent, text.c_str(), cursor.Position());
      if (opensLevel) anchors[level] = inserted;
      ++count;
    }
    if (cursor.IsLast()) break;
  }
  if (count == 0) tree.SetItemChildren(item, 0);
}

void InsertHeadingLine(LinePosition position) {
  if (!IsHeld(position)) return;
  const LineCursor cursor(position);
  const unsigned attribute = cursor.Attribute();
  if (attribute < kTopHeading) return;
  const std::string text = cursor.HeadingText();
  const int level = ClampLevel(cursor.Level(), 0);
  const platform::TreeItem parent = level == 0 ? state.root : state.headingAnchors[level - 1];
  const platform::TreeItem inserted = InsertHeading(parent, text.c_str(), position);
  state.headingAnchors[level] = inserted;
  if (attribute == kTopHeading && state.host->GetActivePane() == state.tree) Select(inserted);
}

// The tree selects another item when it loses the selected one: that is no choice of the user's
// and does not move the host's view.
void DiscardLine(LinePosition position) {
  const platform::TreeItem first = FirstChild(state.root);
  if (!first || Tree().GetItemParam(first) != position) return;
  const SelectionSyncScope quiet;
  DeleteItem(first);
}

}  // namespace qor
