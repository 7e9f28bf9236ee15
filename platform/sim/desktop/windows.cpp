// Windows: creation, destruction, rectangles and moves.
#include <algorithm>
#include <string>

#include "platform/dialog.h"
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"
#include "platform/window.h"

namespace desktop {
namespace {

struct Origin {
  int32_t x = 0, y = 0;
};

Origin ClientOrigin(const detail::Window& window);

// Screen position of the coordinate system the window's rect is given in.
Origin ParentOrigin(const detail::Window& window) {
  if (const auto parent = detail::FindWindow(window.parent)) return ClientOrigin(*parent);
  return {};
}

Origin ClientOrigin(const detail::Window& window) {
  const Origin parent = ParentOrigin(window);
  return {parent.x + window.rect.left + window.frame.left, parent.y + window.rect.top + window.frame.top};
}

void EmitProgress(const detail::Window& bar) {
  const platform::ProgressBar::Fill fill = platform::ProgressBar(bar.handle).GetFill();
  detail::TheDesktop().lastProgressPaints = {bar.progress.repaints, fill.length, fill.chunk};
  detail::Emit({"Progress", std::to_string(bar.progress.upper), std::to_string(bar.progress.position)});
}

}  // namespace

Handle CreateHostWindow(Handle parent, Rect rect, int32_t frame, WindowProc proc) {
  Origin origin;
  if (parent) {
    const auto parentWindow = detail::FindWindow(parent);
    if (!parentWindow) return nullptr;
    origin = ClientOrigin(*parentWindow);
  }
  const Rect relative{rect.left - origin.x, rect.top - origin.y, rect.right - origin.x,
                      rect.bottom - origin.y};
  const auto window =
      detail::AddWindow(detail::WindowKind::Host, parent, relative, {frame, frame, frame, frame});
  if (!window) return nullptr;
  window->proc = std::move(proc);
  return window->handle;
}

void DestroyWindow(Handle handle) {
  const auto window = detail::FindWindow(handle);
  if (!window || window->destroying) return;
  window->destroying = true;
  // Children first, while this window still exists: a dying tree tells its parent of every item.
  for (const Handle child : std::vector<Handle>(window->children)) DestroyWindow(child);
  if (window->tree) {
    window->tree->DeleteItem(nullptr);
    window->tree->Detach();
  }
  if (window->kind == detail::WindowKind::ProgressBar) EmitProgress(*window);
  if (detail::TheDesktop().focus == handle) detail::TakeFocusAway();
  if (const auto parent = detail::FindWindow(window->parent)) {
    std::erase(parent->children, handle);
  }
  detail::TheDesktop().windows.erase(handle);
}

bool IsWindow(Handle window) { return detail::FindWindow(window) != nullptr; }

namespace seam {

void ShowWindow(Handle handle) {
  if (const auto window = detail::FindWindow(handle)) window->visible = true;
}

bool IsWindowVisible(Handle handle) {
  const auto window = detail::FindWindow(handle);
  return window && window->visible;
}

}  // namespace seam
}  // namespace desktop

namespace platform {

using desktop::detail::FindWindow;

// The simulated desktop has no z-order and no taskbar: an owner changes nothing there.
void SetOwnerWindow(WindowHandle) {}

// No message queue: a scan blocks nothing.
void KeepResponding() {}

bool Window::IsValid() const { return FindWindow(handle_) != nullptr; }

Rect Window::GetWindowRect() const {
  const auto window = FindWindow(handle_);
  if (!window) return {};
  const desktop::Origin origin = desktop::ParentOrigin(*window);
  return {window->rect.left + origin.x, window->rect.top + origin.y, window->rect.right + origin.x,
          window->rect.bottom + origin.y};
}

Rect Window::GetClientRect() const {
  const auto window = FindWindow(handle_);
  if (!window) return {};
  const Rect& outer = window->rect;
  const desktop::detail::Insets& frame = window->frame;
  return {0, 0, std::max(0, outer.right - outer.left - frame.left - frame.right),
          std::max(0, outer.bottom - outer.top - frame.top - frame.bottom)};
}

Point Window::ClientToScreen(Point point) const {
  if (const auto window = FindWindow(handle_)) {
    const desktop::Origin origin = desktop::ClientOrigin(*window);
    point.x += origin.x;
    point.y += origin.y;
  }
  return point;
}

// x, y in the parent's client coordinates (screen coordinates for a top-level window).
// One monitor with no taskbar, as large as the Wine suite's virtual display.
Rect Window::GetWorkArea() const { return {0, 0, 1280, 1024}; }

bool Window::IsMinimized() const { return false; }

Rect Window::GetRestoredRect() const { return GetWindowRect(); }

void Window::Move(int32_t x, int32_t y, int32_t width, int32_t height, bool) {
  if (const auto window = FindWindow(handle_)) window->rect = {x, y, x + width, y + height};
}

void Window::Destroy() { desktop::DestroyWindow(handle_); }

}  // namespace platform
