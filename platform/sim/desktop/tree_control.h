// The tree view control: items, their states and the notifications to the parent, following
// comctl32 as Wine implements it (dlls/comctl32/treeview.c). The parent may change the tree from
// inside a notification, so every step after one looks its items up again by handle.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/desktop.h"
#include "platform/sim/desktop_internal.h"
#include "platform/tree_view.h"

namespace desktop::detail {

class TreeControl {
 public:
  // Sends one notification to the parent and returns its answer.
  using Notify = std::function<intptr_t(const seam::TreeNotify& record)>;

  TreeControl(Handle window, Notify notify);
  TreeControl(const TreeControl&) = delete;
  TreeControl& operator=(const TreeControl&) = delete;

  void Detach() { notify_ = nullptr; }  // the window is gone: no more notifications
  // WM_SETREDRAW: nothing is drawn, but whether the control would is kept.
  void SetRedraw(bool redraw) { redraw_ = redraw; }
  bool Redraws() const { return redraw_; }

  Handle InsertLast(Handle parent, const platform::NewTreeItem& item);
  bool DeleteItem(Handle item);  // null: every item, without moving the selection
  bool ExpandMessage(Handle item, unsigned action);
  bool SelectItem(Handle item);
  void ClickLabel(Handle item);
  void ClickButton(Handle item);
  // The tree gets the keyboard focus: with no item selected, it selects its first visible item.
  void TakeFocus();

  Handle GetNextItem(Handle item, seam::TreeRelation relation) const;
  std::string GetText(Handle item) const;
  int32_t GetParam(Handle item) const;
  int GetChildren(Handle item) const;
  bool SetChildren(Handle item, int children);

  std::vector<TreeRow> Dump() const;
  Handle ItemAt(const std::vector<int>& path) const;
  bool Holds(Handle item) const { return Find(item) != nullptr; }

 private:
  struct Item {
    Handle handle = nullptr;
    Item* parent = nullptr;
    Item* firstChild = nullptr;
    Item* lastChild = nullptr;
    Item* prev = nullptr;
    Item* next = nullptr;
    std::string text;
    int32_t param = 0;
    int image = 0;
    int selectedImage = 0;
    int children = 0;
    bool childrenGiven = false;  // set through insert or SetChildren, not kept by the control
    unsigned state = 0;
  };

  Item* Find(Handle handle) const;
  intptr_t Send(int code, unsigned action, Handle oldItem, Handle newItem);

  bool Expand(Handle handle, bool user);
  bool Collapse(Handle handle, bool user);
  bool Toggle(Handle handle, bool user);
  bool DoSelectItem(Handle handle, unsigned cause);
  void EnsureVisible(Handle handle);

  void RemoveAllChildren(Item* parent);
  void RemoveItem(Handle handle);
  void Unlink(Item* item);
  void Free(Item* item);
  static bool IsBelow(const Item* item, const Item* ancestor);  // in the subtree, not itself
  bool IsVisible(const Item* item) const;
  const Item* NextListItem(const Item* item) const;
  void DumpChildren(const Item* parent, int depth, std::vector<TreeRow>& rows) const;

  Handle window_;
  Notify notify_;
  Item root_;  // parent of the top-level items, always expanded
  Item* selected_ = nullptr;
  bool redraw_ = true;
  // The items live in the map's nodes, which never move: one allocation per item.
  std::unordered_map<Handle, Item> items_;
  // The item found last: every step on an item looks it up again, most often the same one.
  mutable Handle lastFound_ = nullptr;
  mutable Item* lastItem_ = nullptr;
};

}  // namespace desktop::detail
