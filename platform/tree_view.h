// The tree view control ("SysTreeView32"): a method per message the add-in sends it.
#pragma once
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/windows_codes.h"

namespace platform {

// The control's notifications are the TVN_ codes of windows_codes.h (ANSI).
enum class ExpandAction : unsigned { Collapse = kTVE_COLLAPSE, Expand = kTVE_EXPAND, Toggle = kTVE_TOGGLE };

// A WM_NOTIFY of the tree as the add-in handles it (the second parameter points to the record).
// A tree that reports to a parent asking for Unicode notifications sends the W codes; their records
// hold the same action and item handles, so both codes of a notification are one event.
enum class TreeEvent { Other, Expanding, SelectionChanged };

constexpr TreeEvent TreeEventOf(int code) {
  if (code == kTVN_ITEMEXPANDINGA || code == kTVN_ITEMEXPANDINGW) return TreeEvent::Expanding;
  if (code == kTVN_SELCHANGEDA || code == kTVN_SELCHANGEDW) return TreeEvent::SelectionChanged;
  return TreeEvent::Other;
}

struct TreeNotification {
  TreeEvent event = TreeEvent::Other;
  ExpandAction action = ExpandAction::Toggle;  // of Expanding
  TreeItem item = nullptr;                     // the item expanding, or the one now selected
};
TreeNotification ReadTreeNotification(intptr_t lparam);

// An item to insert: the text and parameter always, images and children flag only when given.
struct NewTreeItem {
  const char* text = "";
  int32_t param = 0;
  bool withImages = false;
  int image = 0;
  int selectedImage = 0;
  bool withChildren = false;
  int children = 0;
};

class TreeView {
 public:
  explicit TreeView(WindowHandle handle = nullptr) : handle_(handle) {}
  WindowHandle Handle() const { return handle_; }

  // Creates the pane's tree: client edge, style child|border|buttons|lines|lines-at-root|
  // no drag|show-selection-always, not visible, 0x0 at 0,0. Null on failure.
  static WindowHandle Create(WindowHandle parent);

  void SetImageList(ImageListHandle images);
  TreeItem InsertLast(TreeItem parent, const NewTreeItem& item);  // parent null: top level
  bool DeleteAllItems();
  bool DeleteItem(TreeItem item);
  bool Expand(TreeItem item, ExpandAction action);
  bool SelectItem(TreeItem item);  // caret selection; null selects none
  // Off while the tree is rebuilt: the control then skips laying out and invalidating after each
  // change, and does both once when redraw is turned back on.
  void SetRedraw(bool redraw);

  TreeItem GetRoot() const;  // first top-level item
  TreeItem GetChild(TreeItem item) const;
  TreeItem GetNextSibling(TreeItem item) const;
  TreeItem GetNextVisible(TreeItem item) const;
  TreeItem GetSelection() const;

  std::string GetItemText(TreeItem item) const;
  int32_t GetItemParam(TreeItem item) const;
  int GetItemChildren(TreeItem item) const;  // the children flag as the control reports it
  void SetItemChildren(TreeItem item, int children);

 private:
  WindowHandle handle_;
};

}  // namespace platform
