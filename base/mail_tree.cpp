#include "base/mail_tree.h"

#include <string>

#include "base/addin_state.h"
#include "base/sjis.h"

namespace qor {

namespace {
constexpr int kTitleBufferSize = 260;

// A label with the NUL the tree control's text needs. A listing inserts its labels by the
// hundred, nearly all of them shorter than the tree's label buffer: those are copied to the stack.
class TerminatedLabel {
 public:
  explicit TerminatedLabel(std::string_view label) {
    if (label.size() < sizeof(short_)) {
      label.copy(short_, label.size());
      short_[label.size()] = '\0';
      text_ = short_;
    } else {
      long_ = label;
      text_ = long_.c_str();
    }
  }
  const char* Text() const { return text_; }

 private:
  char short_[kLabelBufferSize];
  std::string long_;
  const char* text_;
};

void ForgetSubtree(platform::TreeItem item) {
  platform::TreeView tree = Tree();
  for (platform::TreeItem child = tree.GetChild(item); child; child = tree.GetNextSibling(child)) ForgetSubtree(child);
  ForgetItem(item);
}
}  // namespace

platform::TreeView Tree() { return platform::TreeView(state.tree); }

void ForgetItem(platform::TreeItem item) {
  if (state.root == item) state.root = nullptr;
  if (state.lastFound == item) state.lastFound = nullptr;
  for (platform::TreeItem& anchor : state.headingAnchors) {
    if (anchor == item) anchor = nullptr;
  }
}

void ClearTree() {
  state.root = nullptr;
  state.lastFound = nullptr;
  state.headingAnchors.fill(nullptr);
  Tree().DeleteAllItems();
}

void DeleteItem(platform::TreeItem item) {
  ForgetSubtree(item);
  Tree().DeleteItem(item);
}

std::string_view LabelText(std::string_view text) { return CutAtCharacter(text, kLabelBufferSize - 1); }

platform::TreeItem InsertRoot() {
  char title[kTitleBufferSize] = {};
  state.host->GetLogTitle(title, kTitleBufferSize);
  title[kTitleBufferSize - 1] = '\0';
  platform::NewTreeItem item;
  item.text = title;
  item.param = -1;
  item.withImages = true;
  item.image = item.selectedImage = Image(kImageEnvelope);
  state.root = Tree().InsertLast(nullptr, item);
  return state.root;
}

platform::TreeItem InsertGroup(std::string_view label) {
  const TerminatedLabel text(LabelText(label));
  platform::NewTreeItem item;
  item.text = text.Text();
  item.param = 0;
  item.withImages = true;
  item.image = item.selectedImage = Image(kImageEnvelope);
  item.withChildren = true;
  item.children = 1;
  return Tree().InsertLast(state.root, item);
}

platform::TreeItem InsertMail(platform::TreeItem parent, std::string_view label, LinePosition position,
                              MailImages images) {
  const TerminatedLabel text(label);
  platform::NewTreeItem item;
  item.text = text.Text();
  item.param = position;
  item.withChildren = true;
  item.children = 0;
  if (images != MailImages::NotGiven) {
    const bool received = images == MailImages::Received;
    item.withImages = true;
    item.image = Image(received ? kImageReceived : kImageSent);
    item.selectedImage = Image(received ? kImageReceivedOpen : kImageSentOpen);
  }
  return Tree().InsertLast(parent, item);
}

platform::TreeItem InsertHeading(platform::TreeItem parent, const char* text, LinePosition position) {
  platform::NewTreeItem item;
  item.text = text;
  item.param = position;
  return Tree().InsertLast(parent, item);
}

}  // namespace qor
