#include "platform/window.h"

#include "platform/sim/desktop_internal.h"

namespace platform {

bool Window::IsValid() const { return simdesk::IsWindow(handle_); }

Rect Window::GetWindowRect() const {
  simdesk::Rect rect;
  if (!simdesk::seam::GetWindowRect(handle_, rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

Rect Window::GetClientRect() const {
  simdesk::Rect rect;
  if (!simdesk::seam::GetClientRect(handle_, rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

Point Window::ClientToScreen(Point point) const {
  simdesk::seam::ClientToScreen(handle_, point.x, point.y);
  return point;
}

void Window::Move(int32_t x, int32_t y, int32_t width, int32_t height, bool) {
  simdesk::seam::MoveWindow(handle_, x, y, width, height);
}

void Window::Destroy() { simdesk::DestroyWindow(handle_); }

}  // namespace platform
