// The tree as a window: creation, the messages the add-in sends it, and what the host reads and
// clicks. Each call holds its window, so the control outlives a parent that destroys it meanwhile.
#include <memory>
#include <utility>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"
#include "platform/tree_view.h"

namespace desktop {
namespace {

std::shared_ptr<detail::Window> FindTree(Handle tree) {
  return detail::FindWindow(tree, detail::WindowKind::Tree);
}

// WM_NOTIFY to the parent's procedure, first parameter 0, second the record.
intptr_t NotifyParent(Handle parent, const seam::TreeNotify& record) {
  const auto window = detail::FindWindow(parent);
  if (!window || !window->proc) return 0;
  return window->proc(parent, platform::kWM_NOTIFY, 0, reinterpret_cast<intptr_t>(&record));
}

// A click gives the tree the keyboard focus after what the click does, as the control's mouse
// handling sets the focus last; a tree that did not have the focus then selects its first visible
// item when none is selected.
void GiveFocus(const std::shared_ptr<detail::Window>& window) {
  if (detail::TheDesktop().focus == window->handle) return;
  detail::TheDesktop().focus = window->handle;
  window->tree->TakeFocus();
}

}  // namespace

bool seam::TreeRedraws(Handle tree) {
  const auto window = FindTree(tree);
  return window && window->tree->Redraws();
}
namespace seam {

ModalFocus::ModalFocus() : previous_(std::exchange(detail::TheDesktop().focus, nullptr)) {}

ModalFocus::~ModalFocus() {
  try {
    if (const auto window = FindTree(previous_)) GiveFocus(window);
  } catch (...) {  // the add-in's own handlers stop everything; a failing script is already held
  }
}

}  // namespace seam

std::vector<TreeRow> DumpTree(Handle tree) {
  const auto window = FindTree(tree);
  return window ? window->tree->Dump() : std::vector<TreeRow>();
}

Handle TreeItemAt(Handle tree, const std::vector<int>& path) {
  const auto window = FindTree(tree);
  return window ? window->tree->ItemAt(path) : nullptr;
}

void ClickItem(Handle tree, Handle item) {
  if (const auto window = FindTree(tree)) {
    window->tree->ClickLabel(item);
    GiveFocus(window);
  }
}

void ClickExpandButton(Handle tree, Handle item) {
  if (const auto window = FindTree(tree)) {
    window->tree->ClickButton(item);
    GiveFocus(window);
  }
}

}  // namespace desktop

namespace platform {

using desktop::FindTree;
using desktop::seam::TreeRelation;

TreeNotification ReadTreeNotification(intptr_t lparam) {
  const auto* record = reinterpret_cast<const desktop::seam::TreeNotify*>(lparam);
  if (!record) return {};
  return {TreeEventOf(record->code), static_cast<ExpandAction>(record->action), record->itemNew};
}

WindowHandle TreeView::Create(WindowHandle parent) {
  if (!parent) return nullptr;  // a child window needs its parent
  const auto window = desktop::detail::AddWindow(desktop::detail::WindowKind::Tree, parent, {}, {});
  if (!window) return nullptr;
  window->visible = false;
  window->tree = std::make_unique<desktop::detail::TreeControl>(
      window->handle,
      [parent](const desktop::seam::TreeNotify& record) { return desktop::NotifyParent(parent, record); });
  return window->handle;
}

void TreeView::SetImageList(ImageListHandle) {}  // images are not drawn

TreeItem TreeView::InsertLast(TreeItem parent, const NewTreeItem& item) {
  const auto window = FindTree(handle_);
  return window ? window->tree->InsertLast(parent, item) : nullptr;
}

bool TreeView::DeleteAllItems() { return DeleteItem(nullptr); }

// A null item deletes every item, as the message does on Windows.
bool TreeView::DeleteItem(TreeItem item) {
  const auto window = FindTree(handle_);
  return window && window->tree->DeleteItem(item);
}

bool TreeView::Expand(TreeItem item, ExpandAction action) {
  const auto window = FindTree(handle_);
  return window && window->tree->ExpandMessage(item, static_cast<unsigned>(action));
}

bool TreeView::SelectItem(TreeItem item) {
  const auto window = FindTree(handle_);
  return window && window->tree->SelectItem(item);
}

void TreeView::SetRedraw(bool redraw) {
  if (const auto window = FindTree(handle_)) window->tree->SetRedraw(redraw);
}

namespace {

TreeItem NextItem(WindowHandle tree, TreeItem item, TreeRelation relation) {
  const auto window = FindTree(tree);
  return window ? window->tree->GetNextItem(item, relation) : nullptr;
}

}  // namespace

TreeItem TreeView::GetRoot() const { return NextItem(handle_, nullptr, TreeRelation::Root); }
TreeItem TreeView::GetChild(TreeItem item) const { return NextItem(handle_, item, TreeRelation::Child); }
TreeItem TreeView::GetNextSibling(TreeItem item) const { return NextItem(handle_, item, TreeRelation::Next); }
TreeItem TreeView::GetNextVisible(TreeItem item) const { return NextItem(handle_, item, TreeRelation::NextVisible); }
TreeItem TreeView::GetSelection() const { return NextItem(handle_, nullptr, TreeRelation::Caret); }

std::string TreeView::GetItemText(TreeItem item) const {
  const auto window = FindTree(handle_);
  return window ? window->tree->GetText(item) : std::string();
}

int32_t TreeView::GetItemParam(TreeItem item) const {
  const auto window = FindTree(handle_);
  return window ? window->tree->GetParam(item) : 0;
}

int TreeView::GetItemChildren(TreeItem item) const {
  const auto window = FindTree(handle_);
  return window ? window->tree->GetChildren(item) : 0;
}

void TreeView::SetItemChildren(TreeItem item, int children) {
  if (const auto window = FindTree(handle_)) window->tree->SetChildren(item, children);
}

}  // namespace platform
