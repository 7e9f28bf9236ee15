// The add-in's process-wide state: one set, zero or empty at load, living until the process ends.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <exception>
#include <string>
#include <vector>

#include "base/host_abi.h"
#include "base/pane_commands.h"
#include "platform/message_box.h"
#include "platform/platform.h"

namespace qor {

constexpr int kHeadingLevels = 8;
constexpr std::size_t kLabelBufferSize = 256;  // item labels are cut to 255 bytes

// A discard or heading notice that came while the add-in was busy, applied when it is done.
struct HeldNotice {
  unsigned message = 0;
  uintptr_t first = 0;
};

// A member ID found in mail and the name kept for it.
struct IdEntry {
  std::string id;
  std::string name;
  bool operator==(const IdEntry&) const = default;
};

struct AddinState {
  HostInterface* host = nullptr;
  LogBuffer* log = nullptr;
  const unsigned char* attributes = nullptr;
  platform::WindowHandle tree = nullptr;
  platform::MenuHandle menu = nullptr;
  platform::ImageListHandle images = nullptr;
  std::array<int, 5> imageIndexes{};  // the five bitmaps, in the order they were added

  int viewMode = 0;
  bool allDisp = false;  // ALLDISP: the listings scan the whole log, not only its last lines
  // A fresh attachment whose first activation is still to come (it reads PREVMODE and ALLDISP and
  // lists the view) and no listing has run yet. Kept by dispatch.cpp.
  bool firstActivation = false;
  bool selectionSync = false;

  bool qorPresent = false;

  // Items the add-in remembers. Every one is dropped when its item is deleted (ForgetItem).
  platform::TreeItem root = nullptr;
  std::array<platform::TreeItem, kHeadingLevels> headingAnchors{};

  // Left behind by the sent-and-received-by-ID listing for the ID registration and the CSV export:
  // its IDs in order of first appearance, each with its group's name.
  std::vector<IdEntry> idEntries;

  // Subject search.
  std::string searchText;
  std::vector<std::string> searchHistory;
  platform::TreeItem lastFound = nullptr;

  // Keeping the host out while the add-in works (dispatch.cpp): the depth of the host's calls
  // being handled, the notices held meanwhile, a failure of a nested call to report at the end,
  // and a detach that came meanwhile, finished at the end.
  int busy = 0;
  std::deque<HeldNotice> heldNotices;
  std::exception_ptr heldFailure;
  bool detachPending = false;
};

extern AddinState state;

// The image index of a picture.
int Image(ImageSlot slot);

// The module's base name ("QORMAIL"): the caption of every message box; plus ".INI", the profile.
std::string ModuleBaseName();
std::string ProfileName();

// A message box of the add-in, captioned with the module's base name. A box that asks no question
// shows the exclamation mark, whatever its buttons.
platform::Answer ShowBox(const std::string& text, platform::Buttons buttons = platform::Buttons::Ok,
                         platform::Icon icon = platform::Icon::Exclamation);

}  // namespace qor
