// A host for tests that run the add-in's code in-process: its main window, the log installed by
// FakeLog, and nothing else of a real host.
#pragma once
#include <cstdio>

#include "addin/addin_state.h"
#include "addin/host_abi.h"

namespace qor::testing {

// A host for tests that run the add-in's code in-process over a FakeLog.
class ListingHost : public HostInterface {
 public:
  explicit ListingHost(platform::WindowHandle main) : main_(main) {}
  platform::WindowHandle GetMainWindow() override { return main_; }
  platform::WindowHandle GetPaneParent() override { return main_; }
  LogBuffer* GetLogBuffer() override { return state.log; }
  const unsigned char* GetLineAttributes() override { return state.attributes; }
  int RegisterPane(platform::WindowHandle, const char*, PaneCallbackFunction, platform::MenuHandle) override {
    return 1;
  }
  int UnregisterPane(platform::WindowHandle) override { return 1; }
  void GetViewLines(LinePosition* first, LinePosition* second) override { *first = *second = 0; }
  int ShowPosition(const ViewRequest*, int) override { return 1; }
  int ShowLine(LinePosition) override { return 1; }
  platform::WindowHandle GetActivePane() override { return nullptr; }
  int GetLogTitle(char* buffer, int size) override { return std::snprintf(buffer, size, "log"); }
  int IsAttachedAttribute(int attribute) override { return attribute >= 10 && attribute <= 17; }
  void Reserved0() override {}
  void Reserved1() override {}
  void Reserved2() override {}
  void Reserved3() override {}
  void Reserved4() override {}
  void Reserved5() override {}
  void Reserved6() override {}
  void Reserved7() override {}
  void Reserved8() override {}
  void Reserved9() override {}
  void Reserved10() override {}
  void Reserved11() override {}
  void Reserved12() override {}
  void Reserved13() override {}
  void Reserved14() override {}
  void Reserved15() override {}
  void Reserved16() override {}
  void Reserved17() override {}
  void Reserved18() override {}
  void Reserved19() override {}
  void Reserved20() override {}
  void Reserved21() override {}
  void Reserved22() override {}
  void Reserved24() override {}
  void Reserved26() override {}
  void Reserved27() override {}
  void Reserved30() override {}
  void Reserved33() override {}
  void Reserved35() override {}
  void Reserved38() override {}
  void Reserved39() override {}
  void Reserved41() override {}
  void Reserved43() override {}
  void Reserved44() override {}

 private:
  platform::WindowHandle main_;
};

}  // namespace qor::testing
