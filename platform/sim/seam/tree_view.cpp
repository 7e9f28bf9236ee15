#include "platform/tree_view.h"

#include "platform/sim/desktop_internal.h"

namespace platform {

using simdesk::seam::TreeRelation;

TreeNotification ReadTreeNotification(intptr_t lparam) {
  const auto* record = reinterpret_cast<const simdesk::seam::TreeNotify*>(lparam);
  if (!record) return {};
  return {record->code, record->action, record->itemNew};
}

WindowHandle TreeView::Create(WindowHandle parent) { return simdesk::seam::CreateTree(parent); }

void TreeView::SetImageList(ImageListHandle images) { simdesk::seam::TreeSetImageList(handle_, images); }

TreeItem TreeView::InsertLast(TreeItem parent, const NewTreeItem& item) {
  simdesk::seam::NewTreeItem data;
  data.text = item.text ? item.text : "";
  data.param = item.param;
  data.withImages = item.withImages;
  data.image = item.image;
  data.selectedImage = item.selectedImage;
  data.withChildren = item.withChildren;
  data.children = item.children;
  return simdesk::seam::TreeInsertLast(handle_, parent, data);
}

bool TreeView::DeleteAllItems() { return simdesk::seam::TreeDeleteItem(handle_, nullptr); }

// A null item deletes every item, as the message does on Windows.
bool TreeView::DeleteItem(TreeItem item) { return simdesk::seam::TreeDeleteItem(handle_, item); }

bool TreeView::Expand(TreeItem item, ExpandAction action) {
  return simdesk::seam::TreeExpand(handle_, item, static_cast<unsigned>(action));
}

bool TreeView::SelectItem(TreeItem item) { return simdesk::seam::TreeSelectItem(handle_, item); }

void TreeView::SetRedraw(bool) {}  // the simulated tree draws nothing and lays nothing out

TreeItem TreeView::GetRoot() const {
  return simdesk::seam::TreeGetNextItem(handle_, nullptr, TreeRelation::Root);
}

TreeItem TreeView::GetChild(TreeItem item) const {
  return simdesk::seam::TreeGetNextItem(handle_, item, TreeRelation::Child);
}

TreeItem TreeView::GetNextSibling(TreeItem item) const {
  return simdesk::seam::TreeGetNextItem(handle_, item, TreeRelation::Next);
}

TreeItem TreeView::GetNextVisible(TreeItem item) const {
  return simdesk::seam::TreeGetNextItem(handle_, item, TreeRelation::NextVisible);
}

TreeItem TreeView::GetSelection() const {
  return simdesk::seam::TreeGetNextItem(handle_, nullptr, TreeRelation::Caret);
}

std::string TreeView::GetItemText(TreeItem item) const {
  return simdesk::seam::TreeGetItemText(handle_, item);
}

int32_t TreeView::GetItemParam(TreeItem item) const { return simdesk::seam::TreeGetItemParam(handle_, item); }

int TreeView::GetItemChildren(TreeItem item) const {
  return simdesk::seam::TreeGetItemChildren(handle_, item);
}

void TreeView::SetItemChildren(TreeItem item, int children) {
  simdesk::seam::TreeSetItemChildren(handle_, item, children);
}

}  // namespace platform
