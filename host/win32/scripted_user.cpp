// The scripted user's driver on real windows. A hook on the host's thread sees every top-level dialog
// window open and close: the add-in's own dialogs (their module is the add-in's) are reported as
// they open, with the id of the template that has their caption, and a window with a progress bar
// is reported as it closes, with the bar's range and position read from the bar. Each dialog that
// opens also gets a timer; the timer fires inside the dialog's modal loop, and the scripted user
// (host/scripted_user.h) then answers it with the next queued action, worked here through its
// controls: typing into the combo box, picking an entry or rows, pressing buttons. Message boxes
// are read (caption, text, buttons, icon) and reported before they are answered.
//
// A queued action that does not fit ends the session with the simulated desktop's message; the
// dialog is then cancelled, the add-in returns, and the session reports the error (see
// ThrowPendingScriptError).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "host/win32/windows_api.h"

namespace korvik {
namespace {

constexpr int kFileNameCombo = 0x47C;  // cmb13 of the common file dialogs
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr UINT kAnswerDelay = 0;       // milliseconds: as soon as the modal loop runs
constexpr UINT kShowWaitDelay = 10;    // again while the dialog is not shown yet
constexpr int kMostShowWaits = 1000;
constexpr UINT kEndCheckDelay = 500;

// The directory the session started in: a relative path typed into the save-file dialog means a
// file there, as on the simulated desktop (the dialog itself may have changed the current one).
std::string& StartDirectory() {
  static std::string directory;
  return directory;
}

struct Opened {
  HWND window = nullptr;
  bool fromAddin = false;
  int templateId = -1;
  bool answered = false;
  int showWaits = 0;
};

std::vector<Opened>& OpenedWindows() {
  static std::vector<Opened> windows;
  return windows;
}

// KORVIK_TRACE=FILE: what the scripted user sees and does, appended to FILE.
void Trace(const std::string& what) {
  static FILE* const file = [] {
    const char* path = std::getenv("KORVIK_TRACE");
    return path && *path ? std::fopen(path, "a") : nullptr;
  }();
  if (!file) return;
  std::fprintf(file, "%lu %lu: %s\n", static_cast<unsigned long>(GetCurrentProcessId()),
               static_cast<unsigned long>(GetTickCount()), what.c_str());
  std::fflush(file);
}

std::string WindowName(HWND window) {
  char text[64];
  std::snprintf(text, sizeof text, "%p", static_cast<void*>(window));
  return std::string(text) + " " + ClassName(window) + " \"" + WindowText(window) + "\"";
}

bool& PersonAnswersTheRest() {
  static bool person = false;
  return person;
}

bool AwaitsAnswer(HWND window) {
  for (const Opened& opened : OpenedWindows()) {
    if (opened.window == window) return !opened.answered;
  }
  return false;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool SameClass(HWND window, const char* name) { return lstrcmpiA(ClassName(window).c_str(), name) == 0; }

bool IsShownControl(HWND control) {
  return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// As the Escape key and the close box do.
void Dismiss(HWND dialog) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

void FailAndDismiss(HWND dialog, const std::string& message) {
  Fail(message);
  Dismiss(dialog);
}

void Press(HWND dialog, int id) {
  if (HWND button = GetDlgItem(dialog, id)) {
    SendMessageA(button, BM_CLICK, 0, 0);
  } else {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }
}

// Key by key, as the keyboard delivers characters to the focused field.
void Type(HWND field, const std::string& text) {
  SetFocus(field);
  for (const wchar_t unit : ToWide(text)) SendMessageW(field, WM_CHAR, unit, 1);
}

// ---- Message boxes

bool IsMessageBox(HWND window) {
  for (const int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
    if (IsShownControl(GetDlgItem(window, id))) return true;
  }
  return false;
}

const char* IconName(HWND icon) {
  if (!IsShownControl(icon)) return "NONE";
  const auto shown = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
  if (!shown) return "NONE";
  if (shown == LoadIcon(nullptr, IDI_EXCLAMATION)) return "EXCLAMATION";
  if (shown == LoadIcon(nullptr, IDI_QUESTION)) return "QUESTION";
  if (shown == LoadIcon(nullptr, IDI_HAND)) return "HAND";
  if (shown == LoadIcon(nullptr, IDI_ASTERISK)) return "ASTERISK";
  return "OTHER";
}

void AnswerMessageBox(HWND box) {
  std::string text;
  HWND icon = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!SameClass(child, "Static")) continue;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      icon = child;
    } else if (text.empty()) {
      text = WindowText(child);
    }
  }
  std::vector<int> shown;
  for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    if (IsShownControl(GetDlgItem(box, id))) shown.push_back(id);
  }
  Emit({"MessageBox", WindowText(box), desktop::ButtonSetName(shown), IconName(icon), text});
  const scripted::Turn turn = User().AnswerMessageBox(shown, text);
  if (!turn.failure.empty()) return FailAndDismiss(box, turn.failure);
  Press(box, turn.button);
}

// ---- The add-in's dialogs

// The scripted user's hands on a dialog's combo box and list box (the add-in's dialogs have at most
// one of each).
class RealControls : public scripted::DialogControls {
 public:
  explicit RealControls(HWND dialog)
      : combo_(FindWindowExA(dialog, nullptr, "ComboBox", nullptr)),
        list_(FindWindowExA(dialog, nullptr, "ListBox", nullptr)) {}

  int HistoryEntries() override { return combo_ ? static_cast<int>(SendMessageA(combo_, CB_GETCOUNT, 0, 0)) : -1; }
  void TypeSearchText(const std::string& text) override {
    if (const HWND field = FindWindowExA(combo_, nullptr, "Edit", nullptr)) {
      Type(field, text);
    } else {
      SetWindowTextW(combo_, ToWide(text).c_str());
    }
  }
  void PickHistoryEntry(int index) override { SendMessageA(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  int ListRows() override { return list_ ? static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0)) : -1; }
  void KeepRowsSelected(bool all, const std::vector<int>& rows) override {
    SendMessageA(list_, LB_SETSEL, all ? TRUE : FALSE, -1);
    for (const int row : rows) SendMessageA(list_, LB_SETSEL, TRUE, row);
  }

 private:
  HWND combo_;
  HWND list_;
};

void AnswerAddinDialog(HWND dialog, int templateId) {
  RealControls controls(dialog);
  const scripted::Turn turn = User().PlayDialog(templateId, WindowText(dialog), controls);
  if (!turn.failure.empty()) return FailAndDismiss(dialog, turn.failure);
  // Cancel is the close box in a dialog without such a button.
  if (turn.button == IDCANCEL && !GetDlgItem(dialog, IDCANCEL)) {
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  Press(dialog, turn.button);
}

// ---- The save-file dialog

// The file-name field. The old dialog has it as cmb13 or edt1 among its own controls; the one of
// Windows Vista and later (the Common Item Dialog) has neither there: its field is an editable
// combo box deeper down. Found by what it is, it is the shown, enabled, writable edit field of a
// combo box (the dialog's other combo boxes are drop-down lists, the address bar's field is hidden).
BOOL CALLBACK FindComboEdit(HWND child, LPARAM found) {
  if (!SameClass(child, "Edit") || !IsWindowVisible(child) || !IsWindowEnabled(child)) return TRUE;
  if ((GetWindowLongA(child, GWL_STYLE) & ES_READONLY) != 0 || !SameClass(GetParent(child), "ComboBox")) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

HWND FileNameField(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, kFileNameCombo)) return combo;
  if (HWND edit = GetDlgItem(dialog, kFileNameEdit)) return edit;
  HWND field = nullptr;
  EnumChildWindows(dialog, FindComboEdit, reinterpret_cast<LPARAM>(&field));
  return field;
}

// While one of the add-in's dialogs or boxes is up the host's own windows must be disabled, or the
// user could reach the pane and its menu from inside it.
bool HostWindowEnabled() {
  const HWND host = HostMainWindow();
  return host && IsWindowEnabled(host);
}

// Every window the add-in opens (and the save-file dialog and boxes it opens) is owned by the
// host's top-level window, so that it stays above the host, and lies within the work area of the
// host's monitor.
std::string PlacementFault(HWND window) {
  const HWND host = HostMainWindow();
  if (!host) return {};
  if (GetWindow(window, GW_OWNER) != host) return WindowName(window) + " is not owned by the host's window";
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(host, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT rect{};
  GetWindowRect(window, &rect);
  const RECT& work = monitor.rcWork;
  if (rect.left < work.left || rect.top < work.top || rect.right > work.right || rect.bottom > work.bottom) {
    return WindowName(window) + " lies outside the work area of the host's monitor";
  }
  return {};
}

void Record(HWND window, int templateId) {
  AnsweredWindow answered;
  answered.templateId = templateId;
  GetWindowRect(window, &answered.rect);
  answered.owner = GetWindow(window, GW_OWNER);
  AnsweredWindows().push_back(answered);
}

bool IsAbsolute(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

VOID CALLBACK AnswerNewest(HWND, UINT, UINT_PTR timer, DWORD);

// The dialog opens a folder whose name is typed, and waits for the next answer.
void AnswerAgain(HWND dialog) {
  for (Opened& opened : OpenedWindows()) {
    if (opened.window == dialog) opened.answered = false;
  }
  SetTimer(nullptr, 0, kAnswerDelay, AnswerNewest);
}

// The file name field gets the full path, so that it does not depend on the folder the dialog
// opens in.
void AnswerSaveFile(HWND dialog) {
  std::string typed;
  const scripted::Turn turn = User().ChooseSaveFile(typed);
  if (!turn.failure.empty()) return FailAndDismiss(dialog, turn.failure);
  if (turn.button != IDOK) return Press(dialog, IDCANCEL);
  if (!IsAbsolute(typed)) typed = StartDirectory() + "\\" + typed;
  // The typed path is code page 932, as the script gives it: it reaches the dialog in UTF-16.
  wchar_t full[MAX_PATH * 4] = L"";
  const std::wstring wideTyped = ToWide(typed);
  const DWORD length = GetFullPathNameW(wideTyped.c_str(), MAX_PATH * 4, full, nullptr);
  const std::wstring path = length > 0 && length < MAX_PATH * 4 ? full : wideTyped;
  SetWindowTextW(FileNameField(dialog), path.c_str());
  const DWORD attributes = GetFileAttributesW(path.c_str());
  Press(dialog, IDOK);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && IsWindow(dialog)) {
    AnswerAgain(dialog);
  }
}

// The save-file dialog's own question: the chosen file exists. Choosing a path means saving there,
// so the user confirms, as on the simulated desktop, whose dialog does not ask; the question is
// the platform's and no message of the add-in. Any other box of the dialog refuses the path.
void AnswerSaveFileQuestion(HWND box) {
  if (IsShownControl(GetDlgItem(box, IDYES))) return Press(box, IDYES);
  std::string text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SameClass(child, "Static") && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      text = WindowText(child);
      break;
    }
  }
  for (size_t at; (at = text.find_first_of("\r\n")) != std::string::npos;) text[at] = ' ';
  const HWND dialog = GetWindow(box, GW_OWNER);
  FailAndDismiss(box, "the save-file dialog refuses the path: " + text);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// ---- Watching windows

void ReportProgressBar(HWND bar) {
  const auto upper = static_cast<int32_t>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
  const auto position = static_cast<int32_t>(SendMessageA(bar, PBM_GETPOS, 0, 0));
  Emit({"Progress", std::to_string(upper), std::to_string(position)});
}

BOOL CALLBACK ReportIfProgressBar(HWND window, LPARAM) {
  if (SameClass(window, PROGRESS_CLASSA)) ReportProgressBar(window);
  return TRUE;
}

VOID CALLBACK CheckEnded(HWND, UINT, UINT_PTR timer, DWORD);
void CheckEndLater(HWND dialog);

VOID CALLBACK AnswerNewest(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  auto& opened = OpenedWindows();
  Trace("answer timer, " + std::to_string(opened.size()) + " open");
  for (size_t i = opened.size(); i-- > 0;) {
    if (opened[i].answered || !IsWindow(opened[i].window)) continue;
    // A user answers what is on the screen. A modal dialog shows when its loop first runs idle,
    // after its initialisation; a timer may fire before that, within the initialisation even.
    if (!HasFailed() && !IsWindowVisible(opened[i].window) && ++opened[i].showWaits < kMostShowWaits) {
      SetTimer(nullptr, 0, kShowWaitDelay, AnswerNewest);
      return;
    }
    if (PersonAnswersTheRest() && !scripted::TheScriptedUser().HasActions()) {
      opened[i].answered = true;
      return;
    }
    Trace("answering " + WindowName(opened[i].window));
    opened[i].answered = true;
    const Opened window = opened[i];  // the list grows while a dialog answers
    const HWND owner = GetWindow(window.window, GW_OWNER);
    const bool saveFileQuestion = owner && FileNameField(owner);
    const bool fromHost = window.fromAddin || FileNameField(window.window) ||
                          (IsMessageBox(window.window) && !saveFileQuestion);
    if (fromHost) Record(window.window, window.templateId);
    std::string fault;
    if (HasFailed()) {
      Dismiss(window.window);
    } else if (fromHost && HostWindowEnabled()) {
      FailAndDismiss(window.window, WindowName(window.window) + " is up while the host's window is enabled");
    } else if (fromHost && !(fault = PlacementFault(window.window)).empty()) {
      FailAndDismiss(window.window, fault);
    } else if (window.fromAddin) {
      AnswerAddinDialog(window.window, window.templateId);
    } else if (FileNameField(window.window)) {
      AnswerSaveFile(window.window);
    } else if (saveFileQuestion) {
      AnswerSaveFileQuestion(window.window);
    } else if (IsMessageBox(window.window)) {
      AnswerMessageBox(window.window);
    } else {
      continue;  // not one the scripted user knows
    }
    if (fromHost) ModalClosedSinceCheck() = true;
    if (IsWindow(window.window) && !AwaitsAnswer(window.window)) CheckEndLater(window.window);
    return;
  }
}

// The dialogs answered, by the timer that checks that each ends.
std::map<UINT_PTR, HWND>& EndChecks() {
  static std::map<UINT_PTR, HWND> checks;
  return checks;
}

void CheckEndLater(HWND dialog) {
  if (const UINT_PTR timer = SetTimer(nullptr, 0, kEndCheckDelay, CheckEnded)) EndChecks()[timer] = dialog;
}

// A dialog still open after its answer does not end: unless it waits for one opened above it, or
// is not shown (yet).
VOID CALLBACK CheckEnded(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const auto found = EndChecks().find(timer);
  if (found == EndChecks().end()) return;
  const HWND dialog = found->second;
  EndChecks().erase(found);
  if (!IsWindow(dialog)) return;
  const auto& opened = OpenedWindows();
  const auto at = std::find_if(opened.begin(), opened.end(), [&](const Opened& o) { return o.window == dialog; });
  if (at == opened.end()) return;
  const bool waitsAbove = std::any_of(at + 1, opened.end(), [](const Opened& o) { return IsWindow(o.window); });
  if (waitsAbove || !IsWindowVisible(dialog)) return CheckEndLater(dialog);
  const std::string what = at->fromAddin ? "dialog " + std::to_string(at->templateId) : Quoted(WindowText(dialog));
  FailAndDismiss(dialog, what + " did not end");
}

void WindowOpens(HWND window, const CREATESTRUCTW& create) {
  if ((create.style & WS_CHILD) || !SameClass(window, "#32770")) return;
  Opened opened;
  opened.window = window;
  opened.fromAddin = create.hInstance && create.hInstance == AddinModule();
  if (opened.fromAddin) {
    const std::string caption = create.lpszName && !IS_INTRESOURCE(create.lpszName) ? FromWide(create.lpszName) : "";
    opened.templateId = TemplateIdOf(caption);
    Emit({"Dialog", std::to_string(opened.templateId), caption});
  }
  OpenedWindows().push_back(opened);
  const UINT_PTR timer = SetTimer(nullptr, 0, kAnswerDelay, AnswerNewest);
  Trace("opens " + WindowName(window) + " timer " + std::to_string(timer));
}

// The progress window stays above the host without taking the activation from it.
void CheckProgressWindow(HWND window) {
  if (!FindWindowExA(window, nullptr, PROGRESS_CLASSA, nullptr)) return;
  Record(window, TemplateIdOf(WindowText(window)));
  if (GetActiveWindow() == window) return Fail(WindowName(window) + " took the activation from the host");
  if (const std::string fault = PlacementFault(window); !fault.empty()) Fail(fault);
}

void WindowCloses(HWND window) {
  Trace("closes " + WindowName(window));
  if (AddinModule() && reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == AddinModule() &&
      !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
    CheckProgressWindow(window);
  }
  if (SameClass(window, PROGRESS_CLASSA)) ReportProgressBar(window);
  EnumChildWindows(window, ReportIfProgressBar, 0);
  auto& opened = OpenedWindows();
  opened.erase(std::remove_if(opened.begin(), opened.end(), [&](const Opened& o) { return o.window == window; }),
               opened.end());
}

LRESULT CALLBACK WatchWindows(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lparam);
    WindowOpens(reinterpret_cast<HWND>(wparam), *create->lpcs);
  } else if (code == HCBT_DESTROYWND) {
    WindowCloses(reinterpret_cast<HWND>(wparam));
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

void LeaveTheRestToAPerson() {
  PersonAnswersTheRest() = true;
  InstallScriptedUser();
}

// In code page 932, as the paths the scripts give.
std::string CurrentDirectory() {
  wchar_t directory[MAX_PATH * 4] = L"";
  const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, directory);
  return FromWide(std::wstring(directory, length < MAX_PATH * 4 ? length : 0));
}

std::string CurrentDirectoryMoved() {
  const std::string now = CurrentDirectory();
  if (StartDirectory().empty() || lstrcmpiW(ToWide(now).c_str(), ToWide(StartDirectory()).c_str()) == 0) return {};
  return "the add-in moved the current directory from " + StartDirectory() + " to " + now;
}

namespace {

BOOL CALLBACK FindHostWindow(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || ClassName(window) != kHostWindowClass) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

HWND HostMainWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindHostWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<AnsweredWindow>& AnsweredWindows() {
  static std::vector<AnsweredWindow> windows;
  return windows;
}

bool& ModalClosedSinceCheck() {
  static bool closed = false;
  return closed;
}

// After a command the host's window is enabled again and, when a dialog or box of the add-in was
// up, active: the add-in gave it back before its window went, so that no other program's window
// came to the front.
std::string HostWindowFault() {
  const HWND host = HostMainWindow();
  const bool modalClosed = std::exchange(ModalClosedSinceCheck(), false);
  if (!host) return {};
  if (!IsWindowEnabled(host)) return "the host's window is left disabled";
  // Which window is in front is a window manager's to say: checked only where one runs
  // (KORVIK_CHECK_FOREGROUND=1, set by the suite's managed run).
  static const bool checkForeground = [] {
    const char* value = std::getenv("KORVIK_CHECK_FOREGROUND");
    return value && std::string(value) == "1";
  }();
  if (checkForeground && modalClosed && GetForegroundWindow() != host) {
    return "the host's window is not the foreground window after the add-in's dialog or box";
  }
  return {};
}

void ForgetScriptedUser() {
  StartDirectory().clear();
  AnsweredWindows().clear();
  ModalClosedSinceCheck() = false;
  OpenedWindows().clear();
  EndChecks().clear();
}

void InstallScriptedUser() {
  if (StartDirectory().empty()) StartDirectory() = CurrentDirectory();
  // A Unicode hook: the captions it is given are the windows' own, not converted to the system's
  // ANSI code page.
  static const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchWindows, nullptr, GetCurrentThreadId());
  (void)hook;
}

}  // namespace korvik
