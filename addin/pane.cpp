#include "addin/pane.h"

#include "addin/addin_state.h"
#include "addin/dispatch.h"
#include "idexport/qor_dat.h"
#include "platform/image_list.h"
#include "platform/popup_menu.h"
#include "platform/tree_view.h"
#include "platform/window.h"
#include "res/texts.h"

namespace qor {

namespace {

constexpr int kImageWidth = 17, kImageHeight = 11;
constexpr int kBitmaps[] = {231, 232, 234, 235, 236};  // their order fixes the image indexes

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

}  // namespace

int Attach(HostInterface* host) {
  BuildImageList();
  state.viewMode = 1;
  state.firstActivation = true;
  state.host = host;
  // Items of an earlier attachment's tree are gone with it.
  state.root = nullptr;
  state.lastFound = nullptr;
  state.headingAnchors.fill(nullptr);
  state.log = host->GetLogBuffer();
  state.attributes = host->GetLineAttributes();
  state.tree = platform::TreeView::Create(host->GetPaneParent());
  if (!state.tree) return 0;  // the host reference stays: the next call detaches
  state.qorPresent = false;
  platform::TreeView(state.tree).SetImageList(state.images);
  LoadQorData();
  BuildMenu();
  if (host->RegisterPane(state.tree, res::kPaneName, PaneCallback, state.menu) != 0) return 1;
  platform::Window(state.tree).Destroy();
  return 0;
}

int Detach() {
  state.host->UnregisterPane(state.tree);
  state.host = nullptr;
  return 1;
}

}  // namespace qor
