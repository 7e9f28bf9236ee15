// A top-level or child window: the rectangles, the monitor and the moves CenterOverHost needs; and
// the window that owns every window the add-in opens.
#pragma once
#include "platform/platform.h"

namespace platform {

// The owner of the add-in's dialogs, message boxes, save-file dialog and progress window: they stay
// above it, go with it between monitors and get no taskbar button of their own (on Windows the
// owner is the named window's top-level ancestor). The add-in names the host's main window when it
// attaches; none is named before.
void SetOwnerWindow(WindowHandle window);

// Lets the system see that the thread still reads its queue (Windows shows a window that has not
// for five seconds as not responding) during a long scan, without taking or dispatching any input
// or posted message.
void KeepResponding();

class Window {
 public:
  explicit Window(WindowHandle handle = nullptr) : handle_(handle) {}
  WindowHandle Handle() const { return handle_; }
  bool IsValid() const;

  Rect GetWindowRect() const;              // outer rectangle, screen coordinates
  Rect GetClientRect() const;              // client rectangle, client coordinates (left = top = 0)
  Point ClientToScreen(Point point) const;
  Rect GetWorkArea() const;                // work area of the monitor the window is on (or nearest)
  bool IsMinimized() const;
  Rect GetRestoredRect() const;            // outer rectangle when not minimised, screen coordinates
  void Move(int32_t x, int32_t y, int32_t width, int32_t height, bool repaint);
  void Destroy();

 private:
  WindowHandle handle_;
};

}  // namespace platform
