#include "platform/sim/desktop/tree_control.h"

#include <utility>

#include "platform/sim/desktop/ansi_text.h"
#include "platform/sim/desktop/state.h"

namespace desktop::detail {
namespace {

using platform::kI_CHILDRENCALLBACK;
using platform::kTVC_BYMOUSE;
using platform::kTVC_UNKNOWN;
using platform::kTVE_COLLAPSE;
using platform::kTVE_EXPAND;
using platform::kTVE_TOGGLE;
using platform::kTVIS_EXPANDED;
using platform::kTVIS_EXPANDEDONCE;
using platform::kTVIS_SELECTED;
using platform::kTVN_DELETEITEMA;
using platform::kTVN_ITEMEXPANDEDA;
using platform::kTVN_ITEMEXPANDINGA;
using platform::kTVN_SELCHANGEDA;
using platform::kTVN_SELCHANGINGA;

// Whether the item can expand: its children flag, not its child items, decides.
bool HasChildren(int children) { return children != 0 && children != kI_CHILDRENCALLBACK; }

}  // namespace

TreeControl::TreeControl(Handle window, Notify notify) : window_(window), notify_(std::move(notify)) {
  root_.state = kTVIS_EXPANDED;
}

TreeControl::Item* TreeControl::Find(Handle handle) const {
  if (!handle) return nullptr;
  if (handle == lastFound_) return lastItem_;
  auto found = const_cast<TreeControl*>(this)->items_.find(handle);  // the control's own, not the caller's
  if (found == items_.end()) return nullptr;
  lastFound_ = handle;
  lastItem_ = &found->second;
  return lastItem_;
}

intptr_t TreeControl::Send(int code, unsigned action, Handle oldItem, Handle newItem) {
  if (!notify_) return 0;
  seam::TreeNotify record{window_, code, action, oldItem, newItem, 0, 0};
  if (const Item* item = Find(oldItem)) record.paramOld = item->param;
  if (const Item* item = Find(newItem)) record.paramNew = item->param;
  const Notify notify = notify_;  // the parent may destroy the tree, and with it notify_
  return notify(record);
}

// ---- Insertion

Handle TreeControl::InsertLast(Handle parentHandle, const platform::NewTreeItem& data) {
  Item* parent = parentHandle ? Find(parentHandle) : &root_;
  if (!parent) return nullptr;
  std::string text = ThroughAnsiCodePage(data.text ? data.text : "");  // the control keeps UTF-16
  const Handle handle = NewHandle();
  Item* item = &items_.try_emplace(handle).first->second;
  item->handle = handle;
  item->text = std::move(text);
  item->param = data.param;
  if (data.withImages) {
    item->image = data.image;
    item->selectedImage = data.selectedImage;
  }
  if (data.withChildren) {
    item->children = data.children;
    item->childrenGiven = true;
  }
  item->parent = parent;
  item->prev = parent->lastChild;
  if (parent->lastChild) parent->lastChild->next = item;
  parent->lastChild = item;
  if (!parent->firstChild) parent->firstChild = item;
  // The parent now shows an expand button, whatever flag it was inserted with.
  if (parent->children == 0) parent->children = 1;
  return item->handle;
}

// ---- Deletion

bool TreeControl::DeleteItem(Handle handle) {
  if (!handle) {
    RemoveAllChildren(&root_);  // the selection goes with its item, and none is chosen
    return true;
  }
  Item* item = Find(handle);
  if (!item) return false;
  Handle newSelection = nullptr;
  if (selected_ && (selected_ == item || IsBelow(selected_, item))) {
    // Next sibling, else the parent unless at top level, else the previous sibling.
    if (item->next)
      newSelection = item->next->handle;
    else if (item->parent != &root_)
      newSelection = item->parent->handle;
    else if (item->prev)
      newSelection = item->prev->handle;
  }
  RemoveItem(handle);
  // Unless a notification handler chose a selection meanwhile.
  if (!selected_ && Find(newSelection)) DoSelectItem(newSelection, kTVC_UNKNOWN);
  return true;
}

void TreeControl::RemoveAllChildren(Item* parent) {
  Item* kill = parent->firstChild;
  while (kill) {
    const Handle next = kill->next ? kill->next->handle : nullptr;
    RemoveItem(kill->handle);
    kill = Find(next);
  }
}

// Children first, then the item: each is reported before it goes.
void TreeControl::RemoveItem(Handle handle) {
  Item* item = Find(handle);
  if (!item) return;
  if (item->firstChild) RemoveAllChildren(item);
  if (!Find(handle)) return;
  Send(kTVN_DELETEITEMA, 0, handle, nullptr);
  item = Find(handle);
  if (!item) return;
  Unlink(item);
  Free(item);
}

void TreeControl::Unlink(Item* item) {
  Item* parent = item->parent;
  if (parent->firstChild == item) parent->firstChild = item->next;
  if (parent->lastChild == item) parent->lastChild = item->prev;
  // An item keeps a children flag set explicitly (Windows; Wine clears it too).
  if (!parent->firstChild && parent->children > 0 && !parent->childrenGiven) parent->children = 0;
  if (item->prev) item->prev->next = item->next;
  if (item->next) item->next->prev = item->prev;
  item->parent = item->prev = item->next = nullptr;
}

// Forgets the item and anything a notification handler may have hung under it meanwhile.
void TreeControl::Free(Item* item) {
  while (Item* child = item->firstChild) {
    Unlink(child);
    Free(child);
  }
  if (selected_ == item) selected_ = nullptr;
  const Handle handle = item->handle;  // the key goes with the item
  if (handle == lastFound_) lastFound_ = nullptr;
  items_.erase(handle);
}

// ---- Expansion

bool TreeControl::ExpandMessage(Handle handle, unsigned action) {
  if (!Find(handle)) return false;
  switch (action & kTVE_TOGGLE) {
    case kTVE_COLLAPSE: return Collapse(handle, false);
    case kTVE_EXPAND: return Expand(handle, false);
    case kTVE_TOGGLE: return Toggle(handle, false);
    default: return false;
  }
}

// The first expansion is reported; later ones only when the user expands.
bool TreeControl::Expand(Handle handle, bool user) {
  Item* item = Find(handle);
  if (!item || !HasChildren(item->children)) return false;
  const bool notifies = user || !(item->state & kTVIS_EXPANDEDONCE);
  if (notifies) {
    if (Send(kTVN_ITEMEXPANDINGA, kTVE_EXPAND, nullptr, handle) != 0) return false;
    if (!(item = Find(handle))) return false;
  }
  if (!item->firstChild) return false;  // the handler added none: it stays collapsed
  item->state |= kTVIS_EXPANDED;
  if (notifies) {
    Send(kTVN_ITEMEXPANDEDA, kTVE_EXPAND, nullptr, handle);
    if ((item = Find(handle))) item->state |= kTVIS_EXPANDEDONCE;
  }
  return true;
}

// Only the user's collapse is reported. A selection inside moves to the item, unreported.
bool TreeControl::Collapse(Handle handle, bool user) {
  Item* item = Find(handle);
  if (!item || !HasChildren(item->children)) return false;
  if (user) {
    Send(kTVN_ITEMEXPANDINGA, kTVE_COLLAPSE, nullptr, handle);
    if (!(item = Find(handle))) return false;
  }
  if (!item->firstChild) return false;
  const bool wasExpanded = item->state & kTVIS_EXPANDED;
  item->state &= ~kTVIS_EXPANDED;
  if (wasExpanded && user) {
    Send(kTVN_ITEMEXPANDEDA, kTVE_COLLAPSE, nullptr, handle);
    if (!(item = Find(handle))) return false;
  }
  if (!wasExpanded) return false;
  if (selected_ && IsBelow(selected_, item)) {
    selected_->state &= ~kTVIS_SELECTED;
    item->state |= kTVIS_SELECTED;
    selected_ = item;
  }
  return true;
}

bool TreeControl::Toggle(Handle handle, bool user) {
  const Item* item = Find(handle);
  if (!item) return false;
  return item->state & kTVIS_EXPANDED ? Collapse(handle, user) : Expand(handle, user);
}

// ---- Selection

bool TreeControl::SelectItem(Handle handle) {
  if (handle && !Find(handle)) return false;
  if (handle == (selected_ ? selected_->handle : nullptr)) return true;
  return DoSelectItem(handle, kTVC_UNKNOWN);
}

bool TreeControl::DoSelectItem(Handle handle, unsigned cause) {
  const Handle previous = selected_ ? selected_->handle : nullptr;
  if (previous == handle) {
    EnsureVisible(handle);
    return true;
  }
  if (Send(kTVN_SELCHANGINGA, cause, previous, handle) != 0) return false;
  Item* item = Find(handle);
  if (handle && !item) return false;
  if (selected_) selected_->state &= ~kTVIS_SELECTED;
  if (item) item->state |= kTVIS_SELECTED;
  selected_ = item;
  // Opens collapsed parents between the two notifications, reporting those expansions.
  EnsureVisible(handle);
  Send(kTVN_SELCHANGEDA, cause, previous, handle);
  return true;
}

void TreeControl::EnsureVisible(Handle handle) {
  const Item* item = Find(handle);
  if (!item || IsVisible(item)) return;
  std::vector<Handle> parents;  // nearest first, as the control opens them
  for (const Item* parent = item->parent; parent != &root_; parent = parent->parent) {
    parents.push_back(parent->handle);
  }
  for (const Handle parent : parents) {
    const Item* at = Find(parent);
    if (at && !(at->state & kTVIS_EXPANDED)) Expand(parent, true);
  }
}

// ---- The user

void TreeControl::ClickLabel(Handle handle) {
  if (Find(handle)) DoSelectItem(handle, kTVC_BYMOUSE);
}

void TreeControl::ClickButton(Handle handle) {
  if (Find(handle)) Toggle(handle, true);
}

// The first visible item is the top one: the simulation does not scroll.
void TreeControl::TakeFocus() {
  if (!selected_) DoSelectItem(root_.firstChild ? root_.firstChild->handle : nullptr, kTVC_UNKNOWN);
}

// ---- Reading

bool TreeControl::IsBelow(const Item* item, const Item* ancestor) {
  for (const Item* at = item->parent; at; at = at->parent) {
    if (at == ancestor) return true;
  }
  return false;
}

bool TreeControl::IsVisible(const Item* item) const {
  for (const Item* parent = item->parent; parent && parent != &root_; parent = parent->parent) {
    if (!(parent->state & kTVIS_EXPANDED)) return false;
  }
  return true;
}

// The item below in display order (TVGN_NEXTVISIBLE).
const TreeControl::Item* TreeControl::NextListItem(const Item* item) const {
  if ((item->state & kTVIS_EXPANDED) && item->firstChild) return item->firstChild;
  if (item->next) return item->next;
  while (item->parent) {
    item = item->parent;
    if (item->next) return item->next;
  }
  return nullptr;
}

Handle TreeControl::GetNextItem(Handle handle, seam::TreeRelation relation) const {
  const Item* result = nullptr;
  switch (relation) {
    case seam::TreeRelation::Root: result = root_.firstChild; break;
    case seam::TreeRelation::Caret: result = selected_; break;
    case seam::TreeRelation::Child: {
      const Item* item = handle ? Find(handle) : &root_;  // the child of none is the first item
      result = item ? item->firstChild : nullptr;
      break;
    }
    case seam::TreeRelation::Next:
      if (const Item* item = Find(handle)) result = item->next;
      break;
    case seam::TreeRelation::NextVisible:
      if (const Item* item = Find(handle)) result = NextListItem(item);
      break;
  }
  return result ? result->handle : nullptr;
}

std::string TreeControl::GetText(Handle handle) const {
  const Item* item = Find(handle);
  return item ? item->text : std::string();
}

int32_t TreeControl::GetParam(Handle handle) const {
  const Item* item = Find(handle);
  return item ? item->param : 0;
}

int TreeControl::GetChildren(Handle handle) const {
  const Item* item = Find(handle);
  return item ? item->children : 0;
}

bool TreeControl::SetChildren(Handle handle, int children) {
  Item* item = Find(handle);
  if (!item) return false;
  item->children = children;
  item->childrenGiven = true;
  return true;
}

void TreeControl::DumpChildren(const Item* parent, int depth, std::vector<TreeRow>& rows) const {
  for (const Item* item = parent->firstChild; item; item = item->next) {
    rows.push_back({depth, item->param, item->image, item->selectedImage,
                    item->children != 0 || item->firstChild != nullptr, (item->state & kTVIS_EXPANDED) != 0,
                    (item->state & kTVIS_SELECTED) != 0, item->text});
    DumpChildren(item, depth + 1, rows);
  }
}

std::vector<TreeRow> TreeControl::Dump() const {
  std::vector<TreeRow> rows;
  DumpChildren(&root_, 0, rows);
  return rows;
}

Handle TreeControl::ItemAt(const std::vector<int>& path) const {
  const Item* item = &root_;
  for (const int index : path) {
    const Item* child = item->firstChild;
    for (int i = 0; child && i < index; ++i) child = child->next;
    if (index < 0 || !child) return nullptr;
    item = child;
  }
  return item == &root_ ? nullptr : item->handle;
}

}  // namespace desktop::detail
