// Windows as CenterOverHost sees them: rectangles, the monitor, a move, destruction; and the owner
// of the add-in's windows.
#include "platform/window.h"

#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

namespace {

HWND namedOwner = nullptr;

Rect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

void SetOwnerWindow(WindowHandle window) { namedOwner = Hwnd(window); }

HWND win32::OwnerWindow() { return namedOwner && IsWindow(namedOwner) ? GetAncestor(namedOwner, GA_ROOT) : nullptr; }

// Sent messages only: input and posted messages stay queued, so the scan still handles no input.
void KeepResponding() {
  MSG message;
  PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool Window::IsValid() const { return handle_ && IsWindow(Hwnd(handle_)); }

Rect Window::GetWindowRect() const {
  RECT rect{};
  if (!::GetWindowRect(Hwnd(handle_), &rect)) return {};
  return ToRect(rect);
}

Rect Window::GetClientRect() const {
  RECT rect{};
  if (!::GetClientRect(Hwnd(handle_), &rect)) return {};
  return ToRect(rect);
}

Point Window::ClientToScreen(Point point) const {
  POINT at{point.x, point.y};
  ::ClientToScreen(Hwnd(handle_), &at);
  return {at.x, at.y};
}

// A minimised window counts as being on the monitor of its restored place.
Rect Window::GetWorkArea() const {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromWindow(Hwnd(handle_), MONITOR_DEFAULTTONEAREST), &info)) return {};
  return ToRect(info.rcWork);
}

bool Window::IsMinimized() const { return IsIconic(Hwnd(handle_)) != FALSE; }

// The placement of a top-level window without WS_EX_TOOLWINDOW is in workspace coordinates, which
// start at the corner of the work area rather than of the monitor.
Rect Window::GetRestoredRect() const {
  const HWND window = Hwnd(handle_);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return GetWindowRect();
  RECT rect = placement.rcNormalPosition;
  const bool workspace = !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD) &&
                         !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (workspace && GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
    OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
  }
  return ToRect(rect);
}

void Window::Move(int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
  MoveWindow(Hwnd(handle_), x, y, width, height, repaint ? TRUE : FALSE);
}

void Window::Destroy() { DestroyWindow(Hwnd(handle_)); }

}  // namespace platform
