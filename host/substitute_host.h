// The substitute host: the terminal program's stand-in on the simulated desktop. It holds the log,
// owns the main window and the pane parent, keeps the pane the add-in registers, and reports what
// the add-in asks it to show as events.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/host_abi.h"
#include "host/host_base.h"
#include "host/log_cursor.h"
#include "host/log_store.h"
#include "platform/desktop.h"

namespace host {

// One event: its name, then its fields (code page 932), as the simulated desktop reports its own.
using EventOutput = std::function<void(const std::vector<std::string>& fields)>;

class SubstituteHost final : public HostBase {
 public:
  SubstituteHost(LogStore log, std::string logTitle, EventOutput output);
  ~SubstituteHost();
  SubstituteHost(const SubstituteHost&) = delete;
  SubstituteHost& operator=(const SubstituteHost&) = delete;

  platform::WindowHandle GetMainWindow() override { return mainWindow_; }
  platform::WindowHandle GetPaneParent() override { return paneParent_; }
  qor::LogBuffer* GetLogBuffer() override { return &cursor_; }
  const unsigned char* GetLineAttributes() override { return log_.Attributes(); }
  int RegisterPane(platform::WindowHandle pane, const char* name,
                   qor::PaneCallbackFunction callback, platform::MenuHandle menu) override;
  int UnregisterPane(platform::WindowHandle pane) override;
  void GetViewLines(qor::LinePosition* first, qor::LinePosition* second) override;
  int ShowPosition(const qor::ViewRequest* request, int zero) override;
  int ShowLine(qor::LinePosition line) override;
  platform::WindowHandle GetActivePane() override;
  int GetLogTitle(char* buffer, int size) override;
  int IsAttachedAttribute(int attribute) override { return IsAttachedHeading(attribute) ? 1 : 0; }

  // ---- What the user and the terminal do to the host.
  LogStore& Log() { return log_; }
  // A new line arrives; a heading line (attribute 2 or more) is announced to the pane. False when
  // the log has no room left.
  bool AppendLine(std::string_view text, unsigned char attribute);
  // The oldest line goes; the pane hears its position. False when only one line is left.
  bool DiscardOldestLine();
  // The user scrolls the view to these positions; until then it follows the newest line.
  void SetViewLines(qor::LinePosition first, qor::LinePosition second);
  // The user focuses the pane (true) or some other part of the host window (false).
  void SetTreeActive(bool active) { treeActive_ = active; }
  // The host turns faulty: every heading text it hands out is null.
  void AnswerNullHeadingTexts() { cursor_.AnswerNullHeadingTexts(); }

  // ---- The registered pane.
  bool HasPane() const { return paneCallback_ != nullptr; }
  platform::WindowHandle PaneWindow() const { return paneWindow_; }
  platform::MenuHandle PaneMenu() const { return paneMenu_; }
  const std::string& PaneName() const { return paneName_; }
  // Sends a window message or a notice to the pane's callback; 0 when no pane is registered.
  intptr_t SendToPane(unsigned message, uintptr_t first, intptr_t second);
  // The WM_SIZE parameter for the pane parent's client area.
  intptr_t PaneClientSize() const;

 private:
  intptr_t PaneParentProc(unsigned message, intptr_t second);

  LogStore log_;
  LogCursor cursor_{log_};
  std::string logTitle_;
  EventOutput output_;

  desktop::Handle mainWindow_ = nullptr;
  desktop::Handle paneParent_ = nullptr;
  desktop::Handle otherPane_ = nullptr;  // what has the focus when the tree has not

  platform::WindowHandle paneWindow_ = nullptr;
  std::string paneName_;
  qor::PaneCallbackFunction paneCallback_ = nullptr;
  platform::MenuHandle paneMenu_ = nullptr;

  bool viewSet_ = false;
  qor::LinePosition viewFirst_ = 0;
  qor::LinePosition viewSecond_ = 0;
  bool treeActive_ = true;
};

}  // namespace host
