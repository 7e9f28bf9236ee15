// The host's own windows on real Windows: the main window, the pane parent and the other pane,
// laid out as the substitute host asks. A window with a procedure hosts a pane: it hands the
// notifications of its child controls (WM_NOTIFY) to that procedure, and its child (the add-in's
// tree) fills its client area and is shown, as the host shows a registered pane.
#include <cstdlib>
#include <cstring>

#include "host/win32/windows_api.h"

namespace korvik {
namespace {

constexpr const char* kClassName = kHostWindowClass;

struct HostWindow {
  desktop::WindowProc proc;
  desktop::Rect rect;  // as asked for, in screen coordinates
  int32_t frame = 0;
};

HostWindow* DataOf(HWND window) {
  return reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void FillWithChildren(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    MoveWindow(child, 0, 0, client.right, client.bottom, TRUE);
  }
}

// KORVIK_UNICODE_NOTIFY=1: the pane's parent asks its children for Unicode notifications, as a
// host built for Unicode does; the tree then sends the W forms of its codes (TVN_SELCHANGEDW, ...).
bool UnicodeNotifications() {
  static const bool unicode = [] {
    const char* value = std::getenv("KORVIK_UNICODE_NOTIFY");
    return value && *value && std::strcmp(value, "0") != 0;
  }();
  return unicode;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  HostWindow* data = DataOf(window);
  const bool hostsPane = data && data->proc;
  switch (message) {
    case WM_NOTIFY:
      if (hostsPane) return data->proc(window, message, wparam, lparam);
      break;
    case WM_NOTIFYFORMAT:
      if (hostsPane && lparam == NF_QUERY) return UnicodeNotifications() ? NFR_UNICODE : NFR_ANSI;
      break;
    case WM_PARENTNOTIFY:
      if (hostsPane && LOWORD(wparam) == WM_CREATE) {
        const HWND child = reinterpret_cast<HWND>(lparam);
        FillWithChildren(window);
        ShowWindow(child, SW_SHOWNA);
      }
      break;
    case WM_SIZE:
      if (hostsPane) FillWithChildren(window);
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete data;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace
}  // namespace korvik

namespace desktop {

// Top-level: an overlapped window whose client area is the rectangle less the frame on every side.
// Child: placed in its parent's client area as the rectangles say, with a sunken edge.
Handle CreateHostWindow(Handle parent, Rect rect, int32_t frame, WindowProc proc) {
  korvik::RegisterHostClass();
  auto* data = new korvik::HostWindow{std::move(proc), rect, frame};
  HWND window = nullptr;
  if (!parent) {
    RECT outer{0, 0, rect.right - rect.left - 2 * frame, rect.bottom - rect.top - 2 * frame};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    window = CreateWindowExA(0, korvik::kClassName, "Korvik", style, rect.left, rect.top,
                             outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                             GetModuleHandleA(nullptr), data);
    if (window) ShowWindow(window, SW_SHOW);
  } else {
    const korvik::HostWindow* parentData = korvik::DataOf(static_cast<HWND>(parent));
    int32_t originX = 0, originY = 0;
    if (parentData) {
      originX = parentData->rect.left + parentData->frame;
      originY = parentData->rect.top + parentData->frame;
    }
    window = CreateWindowExA(WS_EX_CLIENTEDGE, korvik::kClassName, "",
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect.left - originX,
                             rect.top - originY, rect.right - rect.left, rect.bottom - rect.top,
                             static_cast<HWND>(parent), nullptr, GetModuleHandleA(nullptr), data);
  }
  // A window that failed to be created has freed its data with WM_NCDESTROY, if it got so far.
  return window;
}

void DestroyWindow(Handle window) { ::DestroyWindow(static_cast<HWND>(window)); }

bool IsWindow(Handle window) { return window && ::IsWindow(static_cast<HWND>(window)); }

}  // namespace desktop
