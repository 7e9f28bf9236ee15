// What the add-in needs from the platform it runs on. The add-in's own folders include only the
// headers of this folder; the Windows side (win32/) and the simulated desktop (sim/) implement them.
#pragma once
#include <cstdint>

#if defined(_WIN32)
#define QOR_CALLBACK __stdcall
#define QOR_EXPORT __declspec(dllexport)
#else
#define QOR_CALLBACK
#define QOR_EXPORT __attribute__((visibility("default")))
#endif

namespace platform {

// Opaque handles, as the platform hands them out (HWND, HTREEITEM, HMENU, HIMAGELIST on Windows).
using WindowHandle = void*;
using TreeItem = void*;
using MenuHandle = void*;
using ImageListHandle = void*;

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Point {
  int32_t x = 0, y = 0;
};

}  // namespace platform
