// The desktop's one process-wide state and the window objects it holds. Private to the simdesktop
// library.
//
// Handles are numbers from one counter that never repeats (not even across Reset), so a handle of
// something destroyed never names anything again and is never dereferenced.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/profile_places.h"
#include "platform/sim/desktop/tree_control.h"

namespace desktop::detail {

enum class WindowKind { Host, Tree, Dialog, Button, Static, ComboBox, ListBox, ProgressBar, Other };

struct Insets {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct ComboBoxState {
  std::vector<std::string> entries;
  std::string edit;
  int selected = -1;
};

struct ListBoxState {
  std::vector<std::string> rows;
  std::vector<bool> selected;
};

struct ProgressBarState {
  int32_t lower = 0;
  int32_t upper = 100;
  int32_t position = 0;
  int64_t repaints = 0;
};

struct DialogState {
  int templateId = 0;
  bool ended = false;
  int result = 0;
};

struct Window {
  Handle handle = nullptr;
  Handle parent = nullptr;
  std::vector<Handle> children;
  WindowKind kind = WindowKind::Host;
  int controlId = -1;
  std::string text;
  Rect rect;     // outer rectangle in the parent's client coordinates (screen when top-level)
  Insets frame;  // client area = rect less these
  WindowProc proc;
  bool visible = true;
  bool destroying = false;
  std::unique_ptr<TreeControl> tree;
  ComboBoxState combo;
  ListBoxState list;
  ProgressBarState progress;
  DialogState dialog;
};

struct Menu {
  std::vector<MenuRow> rows;
};

struct ImageList {
  int count = 0;
};

struct Desktop {
  // shared_ptr: a call in progress keeps its window alive while a procedure it called destroys it.
  std::map<Handle, std::shared_ptr<Window>> windows;
  std::map<Handle, Menu> menus;
  std::map<Handle, ImageList> imageLists;
  User* user = nullptr;  // the person at the screen, who answers boxes and dialogs (the host's)
  EventSink sink;
  desktop::ProfilePlaces profiles;
  // The window with the keyboard focus, as far as a tree cares: the tree the user clicked last,
  // or null; a modal window takes it while it is up and gives it back (seam::ModalFocus).
  Handle focus = nullptr;
  ProgressPaints lastProgressPaints;
  // The user's error, held until the session asks for it (ThrowPendingScriptError).
  std::optional<std::string> failure;
};

// A top-level window takes the focus from whatever window had it.
void TakeFocusAway();

Desktop& TheDesktop();
Handle NewHandle();

std::shared_ptr<Window> FindWindow(Handle handle);
std::shared_ptr<Window> FindWindow(Handle handle, WindowKind kind);
// rect in the parent's client coordinates. Null when a parent is given but is no window.
std::shared_ptr<Window> AddWindow(WindowKind kind, Handle parent, Rect rect, Insets frame);

// The profiles kept in memory when a fuzz target asked for them (fuzz_hooks.h), else null.
std::map<std::string, std::string>* MemoryProfiles();

void Emit(std::vector<std::string> fields);
// The user at the screen; a script error when the host seated none.
User& TheUser();
[[noreturn]] void Fail(const std::string& message);

}  // namespace desktop::detail
