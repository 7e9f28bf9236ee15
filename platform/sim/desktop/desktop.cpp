// The desktop's state, handles, events and the user at the screen.
#include <utility>

#include "platform/sim/desktop/state.h"

namespace desktop {
namespace detail {

Desktop& TheDesktop() {
  static Desktop desktop;
  return desktop;
}

Handle NewHandle() {
  // Starts well above small integers so that a count or an id passed as a handle names nothing.
  static uintptr_t last = 0x10000;
  last += 4;
  return reinterpret_cast<Handle>(last);
}

std::shared_ptr<Window> FindWindow(Handle handle) {
  auto& windows = TheDesktop().windows;
  const auto found = windows.find(handle);
  return found == windows.end() ? nullptr : found->second;
}

std::shared_ptr<Window> FindWindow(Handle handle, WindowKind kind) {
  std::shared_ptr<Window> window = FindWindow(handle);
  return window && window->kind == kind ? window : nullptr;
}

std::shared_ptr<Window> AddWindow(WindowKind kind, Handle parent, Rect rect, Insets frame) {
  std::shared_ptr<Window> parentWindow;
  if (parent && !(parentWindow = FindWindow(parent))) return nullptr;
  auto window = std::make_shared<Window>();
  window->handle = NewHandle();
  window->parent = parent;
  window->kind = kind;
  window->rect = rect;
  window->frame = frame;
  if (parentWindow) parentWindow->children.push_back(window->handle);
  TheDesktop().windows.emplace(window->handle, window);
  return window;
}

void Emit(std::vector<std::string> fields) {
  // A copy: the sink may replace itself.
  const EventSink sink = TheDesktop().sink;
  if (sink && !TheDesktop().failure) sink(fields);
}

// The error is thrown at once and also held: the add-in stops it at its boundary, as it must on
// Windows, and the session then reports it (ThrowPendingScriptError). What the add-in shows after
// it is not reported, as on the real desktop, whose user has stopped answering by then.
void Fail(const std::string& message) {
  if (!TheDesktop().failure) TheDesktop().failure = message;
  throw ScriptError(message);
}

void TakeFocusAway() { TheDesktop().focus = nullptr; }

User& TheUser() {
  if (!TheDesktop().user) Fail("no user at the screen answers the add-in");
  return *TheDesktop().user;
}

}  // namespace detail

void SetEventSink(EventSink sink) { detail::TheDesktop().sink = std::move(sink); }

void SetUser(User* user) { detail::TheDesktop().user = user; }

void ThrowPendingScriptError() {
  std::optional<std::string> failure = std::exchange(detail::TheDesktop().failure, std::nullopt);
  if (failure) throw ScriptError(*failure);
}

void SetProfileDirectory(const std::string& directory) { detail::TheDesktop().profiles.SetDirectory(directory); }

std::string ProfileDirectory() { return detail::TheDesktop().profiles.Directory(); }

void SetProfileFileDirectory(const std::string& file, const std::string& directory) {
  detail::TheDesktop().profiles.SetFileDirectory(file, directory);
}

const std::string& ProfileDirectoryOf(const std::string& file) { return detail::TheDesktop().profiles.DirectoryOf(file); }

void Reset() {
  // Swapped out first, so that nothing the old state destroys can reach the new one.
  detail::Desktop old = std::exchange(detail::TheDesktop(), detail::Desktop{});
  for (auto& [handle, window] : old.windows) {
    if (window->tree) window->tree->Detach();
  }
}

}  // namespace desktop
