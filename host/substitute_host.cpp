#include "host/substitute_host.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "host/scripted_user.h"

namespace host {
namespace {

// The host's window layout: the pane sits on the left of the main window's client area, the rest
// (the terminal view) on the right. Rectangles in screen coordinates.
constexpr desktop::Rect kMainRect{100, 100, 900, 700};
constexpr int32_t kMainFrame = 4;
constexpr desktop::Rect kPaneRect{104, 104, 344, 696};
constexpr desktop::Rect kTerminalRect{344, 104, 896, 696};
constexpr int32_t kPaneFrame = 2;

}  // namespace

SubstituteHost::SubstituteHost(LogStore log, std::string logTitle, EventOutput output)
    : log_(std::move(log)), logTitle_(std::move(logTitle)), output_(std::move(output)) {
  mainWindow_ = desktop::CreateHostWindow(nullptr, kMainRect, kMainFrame, {});
  paneParent_ = desktop::CreateHostWindow(
      mainWindow_, kPaneRect, kPaneFrame,
      [this](desktop::Handle, unsigned message, uintptr_t, intptr_t second) {
        return PaneParentProc(message, second);
      });
  otherPane_ = desktop::CreateHostWindow(mainWindow_, kTerminalRect, kPaneFrame, {});
  desktop::SetUser(&scripted::TheScriptedUser());  // the script's user answers the add-in
}

SubstituteHost::~SubstituteHost() {
  // Children first; the add-in's tree, a child of the pane parent, goes with it.
  for (desktop::Handle window : {otherPane_, paneParent_, mainWindow_}) {
    if (desktop::IsWindow(window)) desktop::DestroyWindow(window);
  }
}

// The tree reports to its parent; the host hands those notifications on to the pane, as the real
// host does, naming the pane's own window.
intptr_t SubstituteHost::PaneParentProc(unsigned message, intptr_t second) {
  if (message != qor::kWmNotify) return 0;
  return SendToPane(qor::kWmNotify, 0, second);
}

int SubstituteHost::RegisterPane(platform::WindowHandle pane, const char* name,
                                 qor::PaneCallbackFunction callback, platform::MenuHandle menu) {
  paneWindow_ = pane;
  paneName_ = name ? name : "";
  paneCallback_ = callback;
  paneMenu_ = menu;
  return 1;
}

int SubstituteHost::UnregisterPane(platform::WindowHandle pane) {
  if (!HasPane() || pane != paneWindow_) return 0;
  paneWindow_ = nullptr;
  paneName_.clear();
  paneCallback_ = nullptr;
  paneMenu_ = nullptr;
  return 1;
}

void SubstituteHost::GetViewLines(qor::LinePosition* first, qor::LinePosition* second) {
  qor::LinePosition newest = log_.LastPosition();
  if (first) *first = viewSet_ ? viewFirst_ : newest;
  if (second) *second = viewSet_ ? viewSecond_ : newest;
}

int SubstituteHost::ShowPosition(const qor::ViewRequest* request, int zero) {
  (void)zero;
  if (!request) return 0;
  output_({"ShowPosition", std::to_string(request->line), std::to_string(request->second)});
  return 1;
}

int SubstituteHost::ShowLine(qor::LinePosition line) {
  output_({"ShowLine", std::to_string(line)});
  return 1;
}

platform::WindowHandle SubstituteHost::GetActivePane() {
  return treeActive_ ? paneWindow_ : otherPane_;
}

int SubstituteHost::GetLogTitle(char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  size_t length = std::min(logTitle_.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, logTitle_.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

bool SubstituteHost::AppendLine(std::string_view text, unsigned char attribute) {
  if (!log_.CanAppend()) return false;
  qor::LinePosition position = log_.Append(text, attribute);
  if (IsHeadingLine(attribute)) SendToPane(qor::kHeadingNotice, static_cast<uintptr_t>(position), 0);
  return true;
}

bool SubstituteHost::DiscardOldestLine() {
  if (log_.HeldCount() <= 1) return false;
  qor::LinePosition dropped = log_.DiscardOldest();
  // A view line that scrolled out of the log moves to the oldest line still held.
  if (viewFirst_ == dropped) viewFirst_ = log_.FirstPosition();
  if (viewSecond_ == dropped) viewSecond_ = log_.FirstPosition();
  SendToPane(qor::kDiscardNotice, static_cast<uintptr_t>(dropped), 0);
  return true;
}

void SubstituteHost::SetViewLines(qor::LinePosition first, qor::LinePosition second) {
  viewSet_ = true;
  viewFirst_ = first;
  viewSecond_ = second;
}

intptr_t SubstituteHost::SendToPane(unsigned message, uintptr_t first, intptr_t second) {
  if (!HasPane()) return 0;
  return paneCallback_(paneWindow_, message, first, second);
}

intptr_t SubstituteHost::PaneClientSize() const {
  intptr_t width = kPaneRect.right - kPaneRect.left - 2 * kPaneFrame;
  intptr_t height = kPaneRect.bottom - kPaneRect.top - 2 * kPaneFrame;
  return (height << 16) | width;
}

}  // namespace host
