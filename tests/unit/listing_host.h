// A host for tests that run the add-in's code in-process: its main window, the log installed by
// FakeLog, and nothing else of a real host.
#pragma once
#include <cstdio>

#include "base/addin_state.h"
#include "base/host_abi.h"
#include "host/host_base.h"

namespace qor::testing {

// A host for tests that run the add-in's code in-process over a FakeLog.
class ListingHost : public host::HostBase {
 public:
  explicit ListingHost(platform::WindowHandle main) : main_(main) {}
  platform::WindowHandle GetMainWindow() override { return main_; }
  platform::WindowHandle GetPaneParent() override { return main_; }
  LogBuffer* GetLogBuffer() override { return state.log; }
  const unsigned char* GetLineAttributes() override { return state.attributes; }
  int RegisterPane(platform::WindowHandle, const char*, PaneCallbackFunction, platform::MenuHandle) override {
    return paneAnswer;
  }
  int UnregisterPane(platform::WindowHandle) override { return 1; }
  void GetViewLines(LinePosition* first, LinePosition* second) override { *first = *second = 0; }
  int ShowPosition(const ViewRequest*, int) override { return 1; }
  int ShowLine(LinePosition) override { return 1; }
  platform::WindowHandle GetActivePane() override { return nullptr; }
  int GetLogTitle(char* buffer, int size) override { return std::snprintf(buffer, size, "log"); }
  int IsAttachedAttribute(int attribute) override { return attribute >= 10 && attribute <= 17; }

  int paneAnswer = 1;  // 0: the host refuses the pane

 private:
  platform::WindowHandle main_;
};

}  // namespace qor::testing
