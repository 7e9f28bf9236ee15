// Windows as CenterOverHost sees them: rectangles, a move, destruction.
#include "platform/window.h"

#include "platform/win32/win32.h"

namespace platform {

using win32::Hwnd;

bool Window::IsValid() const { return handle_ && IsWindow(Hwnd(handle_)); }

Rect Window::GetWindowRect() const {
  RECT rect{};
  if (!::GetWindowRect(Hwnd(handle_), &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

Rect Window::GetClientRect() const {
  RECT rect{};
  if (!::GetClientRect(Hwnd(handle_), &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

Point Window::ClientToScreen(Point point) const {
  POINT at{point.x, point.y};
  ::ClientToScreen(Hwnd(handle_), &at);
  return {at.x, at.y};
}

void Window::Move(int32_t x, int32_t y, int32_t width, int32_t height, bool repaint) {
  MoveWindow(Hwnd(handle_), x, y, width, height, repaint ? TRUE : FALSE);
}

void Window::Destroy() { DestroyWindow(Hwnd(handle_)); }

}  // namespace platform
