#include "addin/pane.h"

#include "addin/dispatch.h"
#include "base/addin_state.h"
#include "idexport/qor_dat.h"
#include "platform/image_list.h"
#include "platform/popup_menu.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "res/resource_ids.h"
#include "res/texts.h"

namespace qor {

namespace {

constexpr int kImageWidth = 17, kImageHeight = 11;
// Their order fixes the image indexes.
constexpr int kBitmaps[] = {QOR_BITMAP_SENT, QOR_BITMAP_RECEIVED, QOR_BITMAP_RECEIVED_OPEN, QOR_BITMAP_CLOSED,
                            QOR_BITMAP_SENT_OPEN};

void BuildImageList() {
  state.images = platform::CreateImageList(kImageWidth, kImageHeight, 6, 1);
  for (int i = 0; i < 5; ++i) state.imageIndexes[i] = platform::AddBitmapResource(state.images, kBitmaps[i]);
}

void BuildMenu() {
  platform::PopupMenu menu(platform::PopupMenu::Create());
  menu.AppendItem(kViewReceivedInOrder, res::kMenuReceivedInOrder);
  menu.AppendItem(kViewReceivedById, res::kMenuReceivedById);
  menu.AppendItem(kViewSentInOrder, res::kMenuSentInOrder);
  menu.AppendItem(kViewSentById, res::kMenuSentById);
  menu.AppendItem(kViewBothById, res::kMenuBothById);
  menu.AppendSeparator();
  menu.AppendItem(kSubjectSearch, res::kMenuSubjectSearch);
  menu.AppendItem(kSearchNext, res::kMenuSearchNext);
  menu.AppendSeparator();
  if (state.qorPresent) menu.AppendItem(kRegisterIds, res::kMenuRegisterIds);
  menu.AppendItem(kExportCsv, res::kMenuExportCsv);
  menu.AppendSeparator();
  menu.AppendItem(kAllStock, res::kMenuAllStock);
  menu.AppendSeparator();
  menu.AppendItem(kAbout, res::kMenuAbout);
  state.menu = menu.Handle();
}

// Detach releases nothing, as the host may still hold the pane; what an earlier attachment made and
// the host did not destroy goes when the add-in attaches again, so that one set is left at a time.
void ReleaseEarlierAttachment() {
  platform::Window oldTree(state.tree);
  if (oldTree.IsValid()) oldTree.Destroy();
  platform::PopupMenu(state.menu).Destroy();
  platform::DestroyImageList(state.images);
  state.tree = nullptr;
  state.menu = nullptr;
  state.images = nullptr;
}

// A QOR.DAT that cannot be read for any reason counts as absent: the menu goes without item 130.
void LoadQorDataOrNone() {
  try {
    LoadQorData();
  } catch (...) {
    state.qorPresent = false;
  }
}

}  // namespace

int Attach(HostInterface* host) {
  ReleaseEarlierAttachment();
  BuildImageList();
  state.viewMode = 1;
  ExpectFirstActivation();
  state.host = host;
  // Items of an earlier attachment's tree are gone with it.
  state.root = nullptr;
  state.lastFound = nullptr;
  state.headingAnchors.fill(nullptr);
  state.log = host->GetLogBuffer();
  state.attributes = host->GetLineAttributes();
  platform::SetOwnerWindow(host->GetMainWindow());
  state.tree = platform::TreeView::Create(host->GetPaneParent());
  if (!state.tree) return 0;  // the host reference stays: the next call detaches
  state.qorPresent = false;
  platform::TreeView(state.tree).SetImageList(state.images);
  LoadQorDataOrNone();
  BuildMenu();
  if (host->RegisterPane(state.tree, res::kPaneName, PaneCallback, state.menu) != 0) return 1;
  platform::Window(state.tree).Destroy();
  return 0;
}

// A detach that comes while the add-in's work is on the stack (from inside one of its dialogs)
// unregisters the pane now; the work ends without the host's calls, and the host is forgotten then.
int Detach() {
  state.host->UnregisterPane(state.tree);
  if (state.busy > 0) {
    state.detachPending = true;
    state.heldNotices.clear();
  } else {
    FinishDetach();
  }
  return 1;
}

}  // namespace qor
