// The pane's numbers as the host and the tree carry them: the popup menu's command ids (what
// WM_COMMAND brings), the views (what PREVMODE stores) and the slots of the item pictures (the image
// indexes the tree's items carry). The add-in, the front end and the tests read them here.
#pragma once

namespace qor {

// The views, 1 to 5; the menu command of view v is 100 + v.
enum View : int {
  kReceivedInOrder = 1,
  kReceivedById = 2,
  kSentInOrder = 3,
  kSentById = 4,
  kBothById = 5,
};
constexpr int kViewCommandOffset = 100;

// Menu command ids.
enum Command : int {
  kToggleSelected = 1,
  kViewReceivedInOrder = kViewCommandOffset + kReceivedInOrder,
  kViewReceivedById = kViewCommandOffset + kReceivedById,
  kViewSentInOrder = kViewCommandOffset + kSentInOrder,
  kViewSentById = kViewCommandOffset + kSentById,
  kViewBothById = kViewCommandOffset + kBothById,
  kSubjectSearch = 110,
  kSearchNext = 111,
  kAllStock = 120,
  kRegisterIds = 130,
  kExportCsv = 131,
  kAbout = 1000,
};

constexpr bool IsView(int view) { return view >= kReceivedInOrder && view <= kBothById; }
constexpr int ViewCommand(int view) { return kViewCommandOffset + view; }
constexpr int ViewOfCommand(int command) { return command - kViewCommandOffset; }

// The item pictures, by the order in which the add-in adds the bitmaps to its image list (which
// fixes their image indexes).
enum ImageSlot { kImageSent = 0, kImageReceived = 1, kImageReceivedOpen = 2, kImageEnvelope = 3, kImageSentOpen = 4 };

}  // namespace qor
