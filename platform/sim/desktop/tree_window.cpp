// The tree as a window: creation, the messages the seam sends it, and what the host reads and
// clicks. Each call holds its window, so the control outlives a parent that destroys it meanwhile.
#include <memory>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk {
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

namespace seam {

Handle CreateTree(Handle parent) {
  if (!parent) return nullptr;  // a child window needs its parent
  const auto window = detail::AddWindow(detail::WindowKind::Tree, parent, {}, {});
  if (!window) return nullptr;
  window->visible = false;
  window->tree = std::make_unique<detail::TreeControl>(
      window->handle, [parent](const TreeNotify& record) { return NotifyParent(parent, record); });
  return window->handle;
}

void TreeSetImageList(Handle, Handle) {}  // images are not drawn

Handle TreeInsertLast(Handle tree, Handle parent, const NewTreeItem& item) {
  const auto window = FindTree(tree);
  return window ? window->tree->InsertLast(parent, item) : nullptr;
}

bool TreeDeleteItem(Handle tree, Handle item) {
  const auto window = FindTree(tree);
  return window && window->tree->DeleteItem(item);
}

bool TreeExpand(Handle tree, Handle item, unsigned action) {
  const auto window = FindTree(tree);
  return window && window->tree->ExpandMessage(item, action);
}

bool TreeSelectItem(Handle tree, Handle item) {
  const auto window = FindTree(tree);
  return window && window->tree->SelectItem(item);
}

Handle TreeGetNextItem(Handle tree, Handle item, TreeRelation relation) {
  const auto window = FindTree(tree);
  return window ? window->tree->GetNextItem(item, relation) : nullptr;
}

std::string TreeGetItemText(Handle tree, Handle item) {
  const auto window = FindTree(tree);
  return window ? window->tree->GetText(item) : std::string();
}

int32_t TreeGetItemParam(Handle tree, Handle item) {
  const auto window = FindTree(tree);
  return window ? window->tree->GetParam(item) : 0;
}

int TreeGetItemChildren(Handle tree, Handle item) {
  const auto window = FindTree(tree);
  return window ? window->tree->GetChildren(item) : 0;
}

bool TreeSetItemChildren(Handle tree, Handle item, int children) {
  const auto window = FindTree(tree);
  return window && window->tree->SetChildren(item, children);
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

}  // namespace simdesk
