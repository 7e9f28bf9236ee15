// korvik windows LOG: what the add-in makes of its windows on real ones, printed for a test to
// check. The pane as the add-in creates it (the tree's style and extended style, its image list's
// image size, flags and count), then the About box opened over the host in three places: on the
// primary monitor, partly off the screen, and minimised. Each line gives the host's client centre
// (or the centre of its restored place when minimised), the About box's rectangle, the work area
// of the host's monitor and whether the host's window owns the box. The scripted user checks the
// rest as in every session: ownership, the work area, the host enabled and in front afterwards.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "host/addin_module.h"
#include "host/log_store.h"
#include "host/substitute_host.h"
#include "host/win32/windows_api.h"

namespace korvik {
namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
  return text;
}

std::string Numbers(const RECT& rect) {
  return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
         std::to_string(rect.bottom);
}

void PrintPane(HWND tree) {
  std::printf("tree style %s exstyle %s\n", Hex(static_cast<uint32_t>(GetWindowLongA(tree, GWL_STYLE))).c_str(),
              Hex(static_cast<uint32_t>(GetWindowLongA(tree, GWL_EXSTYLE))).c_str());
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
  int width = 0, height = 0;
  ImageList_GetIconSize(images, &width, &height);
  // Exported by comctl32 (Windows and Wine), not declared by the headers.
  using GetFlags = DWORD(WINAPI*)(HIMAGELIST);
  const auto getFlags = reinterpret_cast<GetFlags>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comctl32.dll"), "ImageList_GetFlags")));
  std::printf("images %dx%d flags %s count %d\n", width, height,
              getFlags ? Hex(getFlags(images)).c_str() : "unknown", ImageList_GetImageCount(images));
}

// The About box over the host in one place: opened by the pane's command and closed by the
// scripted user, who records where it was.
void PrintAboutBox(host::SubstituteHost& host, const char* place) {
  const HWND main = static_cast<HWND>(host.GetMainWindow());
  POINT centre{};
  if (IsIconic(main)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(main, &placement);
    const RECT& restored = placement.rcNormalPosition;
    centre = {restored.left + (restored.right - restored.left) / 2, restored.top + (restored.bottom - restored.top) / 2};
  } else {
    RECT client{};
    GetClientRect(main, &client);
    centre = {client.right / 2, client.bottom / 2};
    ClientToScreen(main, &centre);
  }
  scripted::UserAction close;
  close.kind = scripted::UserAction::Kind::Close;
  close.answer = 1;
  close.description = "close";
  scripted::QueueUserAction(close);
  AnsweredWindows().clear();
  host.SendToPane(qor::kWmCommand, 1000, 0);
  desktop::ThrowPendingScriptError();
  if (AnsweredWindows().empty()) throw std::runtime_error(std::string("no About box ") + place);
  const AnsweredWindow& box = AnsweredWindows().back();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
  std::printf("about %s centre %ld %ld box %s work %s owner %s\n", place, static_cast<long>(centre.x),
              static_cast<long>(centre.y), Numbers(box.rect).c_str(), Numbers(monitor.rcWork).c_str(),
              box.owner == main ? "host" : "other");
}

}  // namespace

int WindowsCommand(int argc, char** argv) {
  if (argc < 1) {
    std::fputs("usage: korvik windows [--addin PATH] LOG\n", stderr);
    return 2;
  }
  const std::string addinPath = argc >= 3 && std::string(argv[0]) == "--addin" ? argv[1] : host::DefaultAddinPath();
  try {
    host::SubstituteHost substitute(host::LoadLogFile(argv[argc - 1]), "log", [](const std::vector<std::string>&) {});
    const host::AddinModule addin(addinPath);
    desktop::SetEventSink([](const std::vector<std::string>&) {});
    if (addin.GiveInterface(&substitute) != 1) throw std::runtime_error("the add-in did not attach");
    PrintPane(static_cast<HWND>(substitute.PaneWindow()));
    substitute.SendToPane(qor::kActivationNotice, 1, 0);  // the first listing, with its progress window
    desktop::ThrowPendingScriptError();

    const HWND main = static_cast<HWND>(substitute.GetMainWindow());
    PrintAboutBox(substitute, "primary");
    RECT outer{};
    GetWindowRect(main, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
    // Most of it off the left and bottom edges: centred, the box would be too.
    SetWindowPos(main, nullptr, monitor.rcWork.left - width * 3 / 4, monitor.rcWork.bottom - height / 4, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    PrintAboutBox(substitute, "off-screen");
    SetWindowPos(main, nullptr, monitor.rcWork.left + 40, monitor.rcWork.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(main, SW_MINIMIZE);
    PrintAboutBox(substitute, "minimised");
    ShowWindow(main, SW_RESTORE);
    addin.GiveInterface(&substitute);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "korvik: %s\n", error.what());
    return 1;
  }
  return 0;
}

}  // namespace korvik
