// Dialogs from the add-in's templates. A dialog class overrides the handlers it needs; the platform
// runs it: a real dialog on Windows, the scripted user on the simulated desktop.
#pragma once
#include <exception>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace platform {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();  // destroys the window if it still exists
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Both owned by the window named with SetOwnerWindow (platform/window.h).
  int RunModal();         // returns the code given to End
  bool CreateModeless();  // created hidden unless the template says visible
  void Show();            // shown without taking the activation from the window that has it
  void End(int result);

  WindowHandle Handle() const { return handle_; }
  WindowHandle Item(int controlId) const;

  // Called by the platform's dialog procedure; not for the add-in's own use.
  bool HandleInit() { return OnInit(); }
  void HandleCommand(int id) { id == kIdOk ? OnOk() : id == kIdCancel ? OnCancel() : void(); }
  void Attach(WindowHandle handle) { handle_ = handle; }
  // A handler that threw inside the platform's dialog procedure: the exception waits here until
  // the dialog call returns to the add-in, which rethrows it (it cannot cross the system's frames).
  void HoldFailure(std::exception_ptr failure) {
    if (!failure_) failure_ = std::move(failure);
  }
  void RethrowHeldFailure() {
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 protected:
  virtual bool OnInit() { return true; }  // true: the platform sets the focus
  virtual void OnOk() { End(kIdOk); }
  virtual void OnCancel() { End(kIdCancel); }

 private:
  int templateId_;
  WindowHandle handle_ = nullptr;
  std::exception_ptr failure_;
};

// Combo box with an edit field and a drop-down list.
class ComboBox {
 public:
  explicit ComboBox(WindowHandle handle = nullptr) : handle_(handle) {}
  void AddString(const std::string& text);
  std::string GetText() const;  // the edit field
  int GetCurSel() const;        // -1 when no list entry is selected

 private:
  WindowHandle handle_;
};

// Multiple-selection list box.
class ListBox {
 public:
  explicit ListBox(WindowHandle handle = nullptr) : handle_(handle) {}
  void AddString(const std::string& text);
  int GetCount() const;
  void SelectAll();
  bool IsSelected(int row) const;

 private:
  WindowHandle handle_;
};

// Progress bar; the range carries the full 32-bit upper bound. A new position repaints the bar.
class ProgressBar {
 public:
  explicit ProgressBar(WindowHandle handle = nullptr) : handle_(handle) {}
  void SetRange(int32_t lower, int32_t upper);
  void SetPosition(int32_t position);
  void RepaintNow();
  // How the bar draws its fill: inside a one-pixel frame within its client area, `length` pixels
  // when full, in blocks that each take `chunk` pixels with the gap after them. A fill of n pixels
  // is drawn up to the end of the block it reaches into (at most to the end of the bar).
  struct Fill {
    int32_t length = 0;
    int32_t chunk = 1;
  };
  Fill GetFill() const;

 private:
  WindowHandle handle_;
};

// The common save-file dialog, owned like the dialogs: default title, no filter, no default extension, no initial name,
// read-only box hidden, asks before overwriting. False when not ended with OK.
bool AskSaveFilePath(std::string& path);

}  // namespace platform
