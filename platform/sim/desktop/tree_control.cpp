#include "platform/sim/desktop/tree_control.h"

#include <utility>

#include "platform/sim/desktop/state.h"

namespace simdesk::detail {
namespace {

// Item states (TVIS_*).
constexpr unsigned kSelected = 0x0002;
constexpr unsigned kExpanded = 0x0020;
constexpr unsigned kExpandedOnce = 0x0040;

constexpr int kChildrenCallback = -1;  // I_CHILDRENCALLBACK

// Whether the item can expand: its children flag, not its child items, decides.
bool HasChildren(int children) { return children != 0 && children != kChildrenCallback; }

}  // namespace

TreeControl::TreeControl(Handle window, Notify notify) : window_(window), notify_(std::move(notify)) {
  root_.state = kExpanded;
}

TreeControl::Item* TreeControl::Find(Handle handle) const {
  if (!handle) return nullptr;
  const auto found = items_.find(handle);
  return found == items_.end() ? nullptr : found->second.get();
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

Handle TreeControl::InsertLast(Handle parentHandle, const seam::NewTreeItem& data) {
  Item* parent = parentHandle ? Find(parentHandle) : &root_;
  if (!parent) return nullptr;
  auto owned = std::make_unique<Item>();
  Item* item = owned.get();
  item->handle = NewHandle();
  item->text = data.text;
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
  items_.emplace(item->handle, std::move(owned));
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
  if (!selected_ && Find(newSelection)) DoSelectItem(newSelection, seam::kTvcUnknown);
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
  Send(seam::kTvnDeleteItem, 0, handle, nullptr);
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
  items_.erase(item->handle);
}

// ---- Expansion

bool TreeControl::ExpandMessage(Handle handle, unsigned action) {
  if (!Find(handle)) return false;
  switch (action & seam::kTveToggle) {
    case seam::kTveCollapse: return Collapse(handle, false);
    case seam::kTveExpand: return Expand(handle, false);
    case seam::kTveToggle: return Toggle(handle, false);
    default: return false;
  }
}

// The first expansion is reported; later ones only when the user expands.
bool TreeControl::Expand(Handle handle, bool user) {
  Item* item = Find(handle);
  if (!item || !HasChildren(item->children)) return false;
  const bool notifies = user || !(item->state & kExpandedOnce);
  if (notifies) {
    if (Send(seam::kTvnItemExpanding, seam::kTveExpand, nullptr, handle) != 0) return false;
    if (!(item = Find(handle))) return false;
  }
  if (!item->firstChild) return false;  // the handler added none: it stays collapsed
  item->state |= kExpanded;
  if (notifies) {
    Send(seam::kTvnItemExpanded, seam::kTveExpand, nullptr, handle);
    if ((item = Find(handle))) item->state |= kExpandedOnce;
  }
  return true;
}

// Only the user's collapse is reported. A selection inside moves to the item, unreported.
bool TreeControl::Collapse(Handle handle, bool user) {
  Item* item = Find(handle);
  if (!item || !HasChildren(item->children)) return false;
  if (user) {
    Send(seam::kTvnItemExpanding, seam::kTveCollapse, nullptr, handle);
    if (!(item = Find(handle))) return false;
  }
  if (!item->firstChild) return false;
  const bool wasExpanded = item->state & kExpanded;
  item->state &= ~kExpanded;
  if (wasExpanded && user) {
    Send(seam::kTvnItemExpanded, seam::kTveCollapse, nullptr, handle);
    if (!(item = Find(handle))) return false;
  }
  if (!wasExpanded) return false;
  if (selected_ && IsBelow(selected_, item)) {
    selected_->state &= ~kSelected;
    item->state |= kSelected;
    selected_ = item;
  }
  return true;
}

bool TreeControl::Toggle(Handle handle, bool user) {
  const Item* item = Find(handle);
  if (!item) return false;
  return item->state & kExpanded ? Collapse(handle, user) : Expand(handle, user);
}

// ---- Selection

bool TreeControl::SelectItem(Handle handle) {
  if (handle && !Find(handle)) return false;
  if (handle == (selected_ ? selected_->handle : nullptr)) return true;
  return DoSelectItem(handle, seam::kTvcUnknown);
}

bool TreeControl::DoSelectItem(Handle handle, unsigned cause) {
  const Handle previous = selected_ ? selected_->handle : nullptr;
  if (previous == handle) {
    EnsureVisible(handle);
    return true;
  }
  if (Send(seam::kTvnSelChanging, cause, previous, handle) != 0) return false;
  Item* item = Find(handle);
  if (handle && !item) return false;
  if (selected_) selected_->state &= ~kSelected;
  if (item) item->state |= kSelected;
  selected_ = item;
  // Opens collapsed parents between the two notifications, reporting those expansions.
  EnsureVisible(handle);
  Send(seam::kTvnSelChanged, cause, previous, handle);
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
    if (at && !(at->state & kExpanded)) Expand(parent, true);
  }
}

// ---- The user

void TreeControl::ClickLabel(Handle handle) {
  if (Find(handle)) DoSelectItem(handle, seam::kTvcByMouse);
}

void TreeControl::ClickButton(Handle handle) {
  if (Find(handle)) Toggle(handle, true);
}

// The first visible item is the top one: the simulation does not scroll.
void TreeControl::TakeFocus() {
  if (!selected_) DoSelectItem(root_.firstChild ? root_.firstChild->handle : nullptr, seam::kTvcUnknown);
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
    if (!(parent->state & kExpanded)) return false;
  }
  return true;
}

// The item below in display order (TVGN_NEXTVISIBLE).
const TreeControl::Item* TreeControl::NextListItem(const Item* item) const {
  if ((item->state & kExpanded) && item->firstChild) return item->firstChild;
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
                    item->children != 0 || item->firstChild != nullptr, (item->state & kExpanded) != 0,
                    (item->state & kSelected) != 0, item->text});
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

}  // namespace simdesk::detail
