// Dialogs from the add-in's templates. A dialog class overrides the handlers it needs; the platform
// runs it: a real dialog on Windows, the scripted user on the simulated desktop.
#pragma once
#include <string>

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

  int RunModal();         // no parent window; returns the code given to End
  bool CreateModeless();  // no parent window; created hidden unless the template says visible
  void Show();            // plain show (also activates)
  void End(int result);

  WindowHandle Handle() const { return handle_; }
  WindowHandle Item(int controlId) const;
  int TemplateId() const { return templateId_; }

  // Called by the platform's dialog procedure; not for the add-in's own use.
  bool HandleInit() { return OnInit(); }
  void HandleCommand(int id) { id == kIdOk ? OnOk() : id == kIdCancel ? OnCancel() : void(); }
  void Attach(WindowHandle handle) { handle_ = handle; }

 protected:
  virtual bool OnInit() { return true; }  // true: the platform sets the focus
  virtual void OnOk() { End(kIdOk); }
  virtual void OnCancel() { End(kIdCancel); }

 private:
  int templateId_;
  WindowHandle handle_ = nullptr;
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

// Progress bar; the range carries the full 32-bit upper bound.
class ProgressBar {
 public:
  explicit ProgressBar(WindowHandle handle = nullptr) : handle_(handle) {}
  void SetRange(int32_t lower, int32_t upper);
  void SetPosition(int32_t position);
  void RepaintNow();

 private:
  WindowHandle handle_;
};

// The common save-file dialog: default title, no filter, no default extension, no initial name,
// read-only box hidden, asks before overwriting. False when not ended with OK.
bool AskSaveFilePath(std::string& path);

}  // namespace platform
