// The tree view control ("SysTreeView32"): a method per message the add-in sends it.
#pragma once
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace platform {

// Notification codes and actions as the control sends them to its parent (ANSI codes).
constexpr int kTreeSelChanging = -401;
constexpr int kTreeSelChanged = -402;
constexpr int kTreeDeleteItem = -403;
constexpr int kTreeItemExpanding = -405;
constexpr int kTreeItemExpanded = -406;
// The same two notifications as a tree sends them to a parent that asked for Unicode ones
// (WM_NOTIFYFORMAT); their records differ from the ANSI ones only in the text pointers.
constexpr int kTreeSelChangedW = -451;
constexpr int kTreeItemExpandingW = -454;

enum class ExpandAction : unsigned { Collapse = 1, Expand = 2, Toggle = 3 };

// What the add-in reads from a WM_NOTIFY of the tree (the second parameter points to it).
struct TreeNotification {
  int code = 0;
  unsigned action = 0;
  TreeItem itemNew = nullptr;
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
