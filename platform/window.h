// A top-level or child window: the rectangles and moves CenterOverHost needs.
#pragma once
#include "platform/platform.h"

namespace platform {

class Window {
 public:
  explicit Window(WindowHandle handle = nullptr) : handle_(handle) {}
  WindowHandle Handle() const { return handle_; }
  bool IsValid() const;

  Rect GetWindowRect() const;              // outer rectangle, screen coordinates
  Rect GetClientRect() const;              // client rectangle, client coordinates (left = top = 0)
  Point ClientToScreen(Point point) const;
  void Move(int32_t x, int32_t y, int32_t width, int32_t height, bool repaint);
  void Destroy();

 private:
  WindowHandle handle_;
};

}  // namespace platform
