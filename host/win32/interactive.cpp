// korvik open: the test host as a person uses it. The main window holds the add-in's pane on the
// left and the log view on the right. A right click in the pane opens the pane's menu, whose
// command goes to the pane as WM_COMMAND; the tree's notifications reach the pane through the pane
// parent; a click on a log line moves the host's view there, and the pane hears the activation
// notice when it takes the focus; a mail chosen in the tree brings its line into the log view.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "host/addin_module.h"
#include "host/cp932_text.h"
#include "host/log_store.h"
#include "host/script.h"
#include "host/substitute_host.h"
#include "host/win32/interactive.h"
#include "host/win32/windows_api.h"

namespace korvik {
namespace {

constexpr UINT kActivatePane = WM_APP + 1;
constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 640;
constexpr int kLineHeight = 16;
constexpr wchar_t kLogFont[] = L"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF";  // ＭＳ ゴシック

struct Show {
  host::SubstituteHost* host = nullptr;
  HWND main = nullptr;
  HWND paneParent = nullptr;
  HWND logView = nullptr;
  WNDPROC mainProc = nullptr;
  WNDPROC paneParentProc = nullptr;
  WNDPROC logViewProc = nullptr;
  HFONT font = nullptr;
  int topLine = 0;        // index of the first line shown, from 0 = the oldest line held
  qor::LinePosition marked = 0;  // the line the add-in last asked to show
};

Show& TheShow() {
  static Show show;
  return show;
}

int HeldLines() { return static_cast<int>(TheShow().host->Log().HeldCount()); }

int VisibleLines() {
  RECT client{};
  GetClientRect(TheShow().logView, &client);
  return std::max(1, static_cast<int>(client.bottom / kLineHeight));
}

void ScrollTo(int top) {
  Show& show = TheShow();
  show.topLine = std::max(0, std::min(top, HeldLines() - VisibleLines()));
  SCROLLINFO info{sizeof info, SIF_ALL, 0, HeldLines() - 1, static_cast<UINT>(VisibleLines()), show.topLine, 0};
  SetScrollInfo(show.logView, SB_VERT, &info, TRUE);
  InvalidateRect(show.logView, nullptr, TRUE);
}

// The add-in asks the host to show a line: the view scrolls there and marks it.
void ShowLogLine(qor::LinePosition line) {
  Show& show = TheShow();
  if (!show.host || !show.host->Log().Holds(line)) return;
  show.marked = line;
  ScrollTo(static_cast<int>(line - show.host->Log().FirstPosition()) - VisibleLines() / 3);
}

void PaintLog(HWND window) {
  Show& show = TheShow();
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  HGDIOBJ oldFont = SelectObject(dc, show.font);
  RECT client{};
  GetClientRect(window, &client);
  host::LogStore& log = show.host->Log();
  for (int row = 0; row <= VisibleLines(); ++row) {
    const qor::LinePosition line = log.FirstPosition() + show.topLine + row;
    if (!log.Holds(line)) break;
    const bool marked = line == show.marked;
    SetBkColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(marked ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT band{0, row * kLineHeight, client.right, (row + 1) * kLineHeight};
    // The log's lines are code page 932, whatever the system's ANSI code page.
    const std::wstring text = ToWide(log.Text(line));
    ExtTextOutW(dc, 4, band.top + 1, ETO_OPAQUE, &band, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

LRESULT CALLBACK LogViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Show& show = TheShow();
  switch (message) {
    case WM_PAINT:
      PaintLog(window);
      return 0;
    case WM_SIZE:
      ScrollTo(show.topLine);
      break;
    case WM_VSCROLL: {
      int top = show.topLine;
      switch (LOWORD(wparam)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_PAGEUP: top -= VisibleLines(); break;
        case SB_PAGEDOWN: top += VisibleLines(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{};
          info.cbSize = sizeof info;
          info.fMask = SIF_TRACKPOS;
          GetScrollInfo(window, SB_VERT, &info);
          top = info.nTrackPos;
          break;
        }
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = HeldLines(); break;
        default: break;
      }
      ScrollTo(top);
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(show.topLine - GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA * 3);
      return 0;
    case WM_LBUTTONDOWN: {
      // The user puts the host's view on the line clicked.
      const qor::LinePosition line =
          show.host->Log().FirstPosition() + show.topLine + static_cast<short>(HIWORD(lparam)) / kLineHeight;
      if (show.host->Log().Holds(line)) {
        show.host->SetViewLines(line, line);
        show.host->SetTreeActive(false);
        show.marked = line;
        InvalidateRect(window, nullptr, TRUE);
      }
      SetFocus(window);
      return 0;
    }
    default:
      break;
  }
  return CallWindowProcA(show.logViewProc, window, message, wparam, lparam);
}

LRESULT CALLBACK PaneParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Show& show = TheShow();
  switch (message) {
    case WM_CONTEXTMENU: {
      // The host shows the pane's menu and hands the command chosen to the pane.
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (at.x == -1 && at.y == -1) GetCursorPos(&at);
      const auto menu = static_cast<HMENU>(show.host->PaneMenu());
      if (!menu) return 0;
      const int command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, show.main, nullptr);
      if (command != 0) show.host->SendToPane(qor::kWmCommand, static_cast<uintptr_t>(command), 0);
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header && header->code == static_cast<UINT>(NM_SETFOCUS)) {
        show.host->SetTreeActive(true);
        PostMessageA(window, kActivatePane, 0, 0);
      }
      break;
    }
    case kActivatePane:
      show.host->SendToPane(qor::kActivationNotice, 1, 0);
      return 0;
    default:
      break;
  }
  return CallWindowProcA(show.paneParentProc, window, message, wparam, lparam);
}

// The pane takes two fifths of the width, the log view the rest.
void Layout(int width, int height) {
  const int pane = std::max(300, width * 2 / 5);
  MoveWindow(TheShow().paneParent, 0, 0, pane, height, TRUE);
  MoveWindow(TheShow().logView, pane, 0, std::max(0, width - pane), height, TRUE);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  const LRESULT result = CallWindowProcA(TheShow().mainProc, window, message, wparam, lparam);
  if (message == WM_SIZE && TheShow().logView) Layout(LOWORD(lparam), HIWORD(lparam));
  return result;
}

WNDPROC Subclass(HWND window, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// Handles what waits in the queue (paint first of all), without waiting for more.
void PaintNow() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

struct Options {
  std::string addin;
  std::string profileDir;
  std::vector<int> commands;
  std::vector<std::string> answers;  // script lines, UTF-8
  std::string log;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--addin") {
      options.addin = value();
    } else if (arg == "--profile-dir") {
      options.profileDir = value();
    } else if (arg == "--command") {
      options.commands.push_back(std::atoi(value().c_str()));
    } else if (arg == "--answer") {
      options.answers.push_back(host::AnsiToUtf8(value()));
    } else if (!arg.empty() && arg[0] == '-') {
      throw std::runtime_error("unknown option " + arg);
    } else if (options.log.empty()) {
      options.log = arg;
    } else {
      throw std::runtime_error("one LOG only");
    }
  }
  if (options.log.empty()) throw std::runtime_error("show needs LOG");
  return options;
}

}  // namespace

int ShowCommand(int argc, char** argv) {
  Options options;
  std::unique_ptr<host::AddinModule> addin;
  host::LogStore log("");
  try {
    options = ParseOptions(argc, argv);
    log = host::LoadLogFile(options.log);
    for (const std::string& answer : options.answers) {
      const std::vector<host::ScriptCommand> commands = host::ParseScript(answer);
      if (commands.size() != 1 || commands[0].kind != host::ScriptCommand::Kind::Queue) {
        throw std::runtime_error("--answer takes one answer of a script: " + answer);
      }
      scripted::QueueUserAction(commands[0].action);
    }
    addin = std::make_unique<host::AddinModule>(options.addin.empty() ? host::DefaultAddinPath() : options.addin);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "korvik: %s\n", error.what());
    return 2;
  }
  if (!options.profileDir.empty()) {
    CreateDirectoryA(options.profileDir.c_str(), nullptr);
    desktop::SetProfileDirectory(options.profileDir);
  }
  const std::string title = options.log.substr(options.log.find_last_of("\\/") + 1);
  host::SubstituteHost host(std::move(log), title, [](const std::vector<std::string>& event) {
    if (event.size() >= 2 && (event[0] == "ShowLine" || event[0] == "ShowPosition")) {
      ShowLogLine(static_cast<qor::LinePosition>(std::atol(event[1].c_str())));
    }
  });

  Show& show = TheShow();
  show.host = &host;
  show.main = static_cast<HWND>(host.GetMainWindow());
  show.paneParent = static_cast<HWND>(host.GetPaneParent());
  for (HWND child = GetWindow(show.main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != show.paneParent) show.logView = child;
  }
  show.font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, kLogFont);
  show.mainProc = Subclass(show.main, MainProc);
  show.paneParentProc = Subclass(show.paneParent, PaneParentProc);
  show.logViewProc = Subclass(show.logView, LogViewProc);
  SetWindowLongA(show.logView, GWL_STYLE, GetWindowLongA(show.logView, GWL_STYLE) | WS_VSCROLL);
  SetWindowPos(show.logView, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SetWindowTextA(show.main, ("Korvik - " + title).c_str());
  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(show.main, GWL_STYLE)), FALSE, 0);
  // Resized while hidden: a shown window that grows keeps its old picture on the virtual display.
  ShowWindow(show.main, SW_HIDE);
  SetWindowPos(show.main, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(show.main, SW_SHOW);
  ScrollTo(HeldLines());
  // Queued answers are given; what opens after them is the person's.
  LeaveTheRestToAPerson();

  if (addin->GiveInterface(&host) != 1) {
    std::fprintf(stderr, "korvik: the add-in did not attach\n");
    return 1;
  }
  // The host shows the pane: the add-in builds its first listing. The windows paint before each
  // step (a scan paints nothing but its progress bar until it ends).
  PaintNow();
  host.SendToPane(qor::kActivationNotice, 1, 0);
  for (const int command : options.commands) {
    PaintNow();
    host.SendToPane(qor::kWmCommand, static_cast<uintptr_t>(command), 0);
  }
  // And shows it again after the commands: the tree follows the host's view.
  if (!options.commands.empty()) host.SendToPane(qor::kActivationNotice, 1, 0);

  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (host.HasPane()) addin->GiveInterface(&host);
  show.host = nullptr;
  return 0;
}

}  // namespace korvik
