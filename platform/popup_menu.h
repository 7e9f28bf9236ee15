// The pane's popup menu, built by the add-in and shown by the host.
#pragma once
#include "platform/platform.h"

namespace platform {

class PopupMenu {
 public:
  explicit PopupMenu(MenuHandle handle = nullptr) : handle_(handle) {}
  static MenuHandle Create();
  void Destroy();  // a menu already destroyed (by the host) is left alone
  MenuHandle Handle() const { return handle_; }

  void AppendItem(int id, const char* text);
  void AppendSeparator();
  void Check(int id, bool checked);
  void Enable(int id, bool enabled);

 private:
  MenuHandle handle_;
};

}  // namespace platform
