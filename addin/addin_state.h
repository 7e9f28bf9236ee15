// The add-in's process-wide state: one set, zero or empty at load, living until the process ends.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "addin/host_abi.h"
#include "platform/platform.h"

namespace qor {

constexpr int kHeadingLevels = 8;
constexpr std::size_t kLabelBufferSize = 256;  // item labels are cut to 255 bytes

struct AddinState {
  HostInterface* host = nullptr;
  LogBuffer* log = nullptr;
  const unsigned char* attributes = nullptr;
  platform::WindowHandle tree = nullptr;
  platform::MenuHandle menu = nullptr;
  platform::ImageListHandle images = nullptr;
  std::array<int, 5> imageIndexes{};  // the five bitmaps, in the order they were added

  int viewMode = 0;
  int allDisp = 0;
  bool firstActivation = false;
  bool selectionSync = false;

  bool qorPresent = false;

  // Items the add-in remembers. Every one is dropped when its item is deleted (ForgetItem).
  platform::TreeItem root = nullptr;
  std::array<platform::TreeItem, kHeadingLevels> headingAnchors{};

  // Left behind by the sent-and-received-by-ID listing for the ID registration and the CSV export.
  std::vector<std::string> idList;
  std::vector<std::string> nameList;

  // Subject search.
  std::string searchText;
  std::vector<std::string> searchHistory;
  platform::TreeItem lastFound = nullptr;
};

extern AddinState state;

// Image indexes by picture (the order in which the bitmaps are added fixes them).
enum ImageSlot { kImageSent = 0, kImageReceived = 1, kImageReceivedOpen = 2, kImageEnvelope = 3, kImageSentOpen = 4 };
int Image(ImageSlot slot);

// The module's base name ("QORMAIL"): the caption of every message box; plus ".INI", the profile.
std::string ModuleBaseName();
std::string ProfileName();

}  // namespace qor
