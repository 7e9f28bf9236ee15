// The scripted user on real windows. A hook on the host's thread sees every top-level dialog
// window open and close: the add-in's own dialogs (their module is the add-in's) are reported as
// they open, with the id of the template that has their caption, and a window with a progress bar
// is reported as it closes, with the bar's range and position read from the bar. Each dialog that
// opens also gets a timer; the timer fires inside the dialog's modal loop, and the user then
// answers it with the next queued action, through its controls: typing into the combo box, picking
// an entry or rows, pressing buttons. Message boxes are read (caption, text, buttons, icon) and
// reported before they are answered.
//
// A queued action that does not fit ends the session with the simulated desktop's message; the
// dialog is then cancelled, the add-in returns, and the session reports the error (see
// ThrowPendingScriptError).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "host/win32/windows_api.h"

namespace korvik {
namespace {

using simdesk::UserAction;
using Kind = UserAction::Kind;

constexpr int kSearchTemplate = 132;
constexpr int kIdSelectTemplate = 137;
constexpr int kHistoryCombo = 1001;
constexpr int kNameList = 1001;
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

struct ButtonSet {
  const char* name;
  const char* article;
  std::vector<int> ids;
};

const ButtonSet kButtonSets[] = {
    {"OK", "an", {IDOK}},
    {"OKCANCEL", "an", {IDOK, IDCANCEL}},
    {"YESNO", "a", {IDYES, IDNO}},
    {"YESNOCANCEL", "a", {IDYES, IDNO, IDCANCEL}},
};

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
  const ButtonSet* set = nullptr;
  for (const ButtonSet& candidate : kButtonSets) {
    std::vector<int> ids = candidate.ids;
    std::sort(ids.begin(), ids.end());
    if (ids == shown) set = &candidate;
  }
  const std::string setName = set ? set->name : "OTHER";
  Emit({"MessageBox", WindowText(box), setName, IconName(icon), text});

  const std::string name = "message box " + Quoted(text);
  const std::optional<UserAction> action = TakeUserAction();
  if (!action) return FailAndDismiss(box, name + " has no queued answer");
  if (action->kind != Kind::Answer) {
    return FailAndDismiss(box, "queued action '" + Describe(*action) + "' is no answer to " + name);
  }
  if (!set || std::find(set->ids.begin(), set->ids.end(), action->answer) == set->ids.end()) {
    return FailAndDismiss(box, "queued answer '" + Describe(*action) + "' does not fit " +
                                   (set ? set->article : "a") + " " + setName + " box");
  }
  Press(box, action->answer);
}

// ---- The add-in's dialogs

std::string DialogName(HWND dialog, int templateId) {
  return "dialog " + std::to_string(templateId) + " " + Quoted(WindowText(dialog));
}

void DoesNotFit(HWND dialog, int templateId, const UserAction& action) {
  FailAndDismiss(dialog, "queued action '" + Describe(action) + "' does not fit " + DialogName(dialog, templateId));
}

// Search dialog: type a text, or pick a history entry, and press the search button; or cancel.
void PlaySearch(HWND dialog, const UserAction& action) {
  const HWND combo = GetDlgItem(dialog, kHistoryCombo);
  if (!combo) return FailAndDismiss(dialog, DialogName(dialog, kSearchTemplate) + " has no combo box");
  switch (action.kind) {
    case Kind::Search: {
      const HWND field = FindWindowExA(combo, nullptr, "Edit", nullptr);
      if (field) {
        Type(field, action.text);
      } else {
        SetWindowTextA(combo, action.text.c_str());
      }
      return Press(dialog, IDOK);
    }
    case Kind::SearchPick: {
      const int entries = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
      if (action.index < 0 || action.index >= entries) {
        return FailAndDismiss(dialog, "queued action '" + Describe(action) + "': " +
                                          DialogName(dialog, kSearchTemplate) + " has " + std::to_string(entries) +
                                          " history entries");
      }
      SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(action.index), 0);
      return Press(dialog, IDOK);
    }
    case Kind::SearchCancel: return Press(dialog, IDCANCEL);
    default: return DoesNotFit(dialog, kSearchTemplate, action);
  }
}

// ID selection dialog: leave exactly the given rows selected and press OK; or cancel.
void PlayIdSelect(HWND dialog, const UserAction& action) {
  if (action.kind != Kind::IdSelect) return DoesNotFit(dialog, kIdSelectTemplate, action);
  if (action.cancel) return Press(dialog, IDCANCEL);
  const HWND list = GetDlgItem(dialog, kNameList);
  if (!list) return FailAndDismiss(dialog, DialogName(dialog, kIdSelectTemplate) + " has no list box");
  const int rows = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (const int row : action.rows) {
    if (row < 0 || row >= rows) {
      return FailAndDismiss(dialog, "queued action '" + Describe(action) + "': row " + std::to_string(row) +
                                        " is not in the list of " + std::to_string(rows) + " rows");
    }
  }
  SendMessageA(list, LB_SETSEL, action.allRows ? TRUE : FALSE, -1);
  for (const int row : action.rows) SendMessageA(list, LB_SETSEL, TRUE, row);
  Press(dialog, IDOK);
}

// A plain dialog such as the About box: OK, or Cancel (the close box when it has no such button).
void PlayClose(HWND dialog, int templateId, const UserAction& action) {
  if (action.kind != Kind::Close || (action.answer != IDOK && action.answer != IDCANCEL)) {
    return DoesNotFit(dialog, templateId, action);
  }
  if (action.answer == IDCANCEL && !GetDlgItem(dialog, IDCANCEL)) {
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  Press(dialog, action.answer);
}

void AnswerAddinDialog(HWND dialog, int templateId) {
  const std::optional<UserAction> action = TakeUserAction();
  if (!action) return FailAndDismiss(dialog, DialogName(dialog, templateId) + " has no queued action");
  switch (templateId) {
    case kSearchTemplate: return PlaySearch(dialog, *action);
    case kIdSelectTemplate: return PlayIdSelect(dialog, *action);
    default: return PlayClose(dialog, templateId, *action);
  }
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

// The add-in's dialogs and boxes have no owner window; while one is up the host's own windows must
// be disabled all the same, or the user could reach the pane and its menu from inside it.
BOOL CALLBACK FindEnabledHostWindow(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || !IsWindowEnabled(window) || ClassName(window) != kHostWindowClass) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

bool HostWindowEnabled() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindEnabledHostWindow, reinterpret_cast<LPARAM>(&found));
  return found != nullptr;
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
  const std::optional<UserAction> action = TakeUserAction();
  if (!action) return FailAndDismiss(dialog, "the save-file dialog has no queued answer");
  if (action->kind != Kind::SaveFile) {
    return FailAndDismiss(dialog, "queued action '" + Describe(*action) + "' does not fit the save-file dialog");
  }
  if (action->cancel) return Press(dialog, IDCANCEL);
  const std::string typed = IsAbsolute(action->text) ? action->text : StartDirectory() + "\\" + action->text;
  char full[MAX_PATH * 4] = "";
  const DWORD length = GetFullPathNameA(typed.c_str(), sizeof full, full, nullptr);
  const std::string path = length > 0 && length < sizeof full ? full : typed;
  SetWindowTextA(FileNameField(dialog), path.c_str());
  const DWORD attributes = GetFileAttributesA(path.c_str());
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
    if (PersonAnswersTheRest() && !HasUserAction()) {
      opened[i].answered = true;
      return;
    }
    Trace("answering " + WindowName(opened[i].window));
    opened[i].answered = true;
    const Opened window = opened[i];  // the list grows while a dialog answers
    if (HasFailed()) {
      Dismiss(window.window);
    } else if (HostWindowEnabled() && (window.fromAddin || FileNameField(window.window) || IsMessageBox(window.window))) {
      FailAndDismiss(window.window, WindowName(window.window) + " is up while the host's window is enabled");
    } else if (window.fromAddin) {
      AnswerAddinDialog(window.window, window.templateId);
    } else if (FileNameField(window.window)) {
      AnswerSaveFile(window.window);
    } else if (const HWND owner = GetWindow(window.window, GW_OWNER); owner && FileNameField(owner)) {
      AnswerSaveFileQuestion(window.window);
    } else if (IsMessageBox(window.window)) {
      AnswerMessageBox(window.window);
    } else {
      continue;  // not one the scripted user knows
    }
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

void WindowOpens(HWND window, const CREATESTRUCTA& create) {
  if ((create.style & WS_CHILD) || !SameClass(window, "#32770")) return;
  Opened opened;
  opened.window = window;
  opened.fromAddin = create.hInstance && create.hInstance == AddinModule();
  if (opened.fromAddin) {
    const std::string caption = create.lpszName && !IS_INTRESOURCE(create.lpszName) ? create.lpszName : "";
    opened.templateId = TemplateIdOf(caption);
    Emit({"Dialog", std::to_string(opened.templateId), caption});
  }
  OpenedWindows().push_back(opened);
  const UINT_PTR timer = SetTimer(nullptr, 0, kAnswerDelay, AnswerNewest);
  Trace("opens " + WindowName(window) + " timer " + std::to_string(timer));
}

void WindowCloses(HWND window) {
  Trace("closes " + WindowName(window));
  if (SameClass(window, PROGRESS_CLASSA)) ReportProgressBar(window);
  EnumChildWindows(window, ReportIfProgressBar, 0);
  auto& opened = OpenedWindows();
  opened.erase(std::remove_if(opened.begin(), opened.end(), [&](const Opened& o) { return o.window == window; }),
               opened.end());
}

LRESULT CALLBACK WatchWindows(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lparam);
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

std::string CurrentDirectory() {
  char directory[MAX_PATH * 4] = "";
  const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  return std::string(directory, length < sizeof directory ? length : 0);
}

std::string CurrentDirectoryMoved() {
  const std::string now = CurrentDirectory();
  if (StartDirectory().empty() || lstrcmpiA(now.c_str(), StartDirectory().c_str()) == 0) return {};
  return "the add-in moved the current directory from " + StartDirectory() + " to " + now;
}

void ForgetScriptedUser() {
  StartDirectory().clear();
  OpenedWindows().clear();
  EndChecks().clear();
}

void InstallScriptedUser() {
  if (StartDirectory().empty()) StartDirectory() = CurrentDirectory();
  static const HHOOK hook = SetWindowsHookExA(WH_CBT, WatchWindows, nullptr, GetCurrentThreadId());
  (void)hook;
}

}  // namespace korvik
