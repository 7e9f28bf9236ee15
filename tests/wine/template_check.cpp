// Reads the compiled resources back from QORMAIL.DLL and checks them: the four dialog templates
// against the add-in's template tables (written from the resource script into
// dialog_templates.cpp, which the simulated desktop builds its dialogs from), control by control;
// the five tree bitmaps (17 x 11, 16 colours) and the About box's icon (32 x 32, 16 colours).
//
//     wine template_check.exe build-win/bin/QORMAIL.DLL
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "host/win32/dialog_resources.h"
#include "res/dialog_templates.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s%s\n", ok ? "ok   " : "FAIL ", what.c_str());
  (ok ? passed : failed) += 1;
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

std::string UpperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The window styles of the four dialogs, as the tables give them in words.
struct StyleWords {
  int id;
  uint32_t style;
};
constexpr StyleWords kDialogStyles[] = {
    {129, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT},
    {131, WS_CAPTION | DS_MODALFRAME | DS_SETFONT},
    {132, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT},
    {137, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT},
};

void CheckDialog(const korvik::DialogResource& found, const res::DialogTemplate& table) {
  const std::string name = "dialog " + std::to_string(table.id) + ": ";
  Check(found.caption == table.caption, name + "caption");
  Check(found.width == table.width && found.height == table.height,
        name + "size " + std::to_string(found.width) + " x " + std::to_string(found.height));
  Check(found.font == table.font && found.pointSize == table.pointSize,
        name + "font, " + std::to_string(found.pointSize) + " points");
  Check(found.style == table.style, name + "style " + Hex(found.style) + ", table " + Hex(table.style));
  for (const StyleWords& words : kDialogStyles) {
    if (words.id == table.id) Check(found.style == words.style, name + "style in words");
  }
  Check(found.exStyle == 0 && found.menu.empty() && found.windowClass.empty(),
        name + "no extended style, menu or class of its own");
  Check(found.controls.size() == table.controls.size(), name + std::to_string(found.controls.size()) + " controls");
  for (size_t i = 0; i < found.controls.size() && i < table.controls.size(); ++i) {
    const korvik::ControlResource& control = found.controls[i];
    const res::DialogControl& expected = table.controls[i];
    const std::string where = name + "control " + std::to_string(i + 1) + " (id " + std::to_string(expected.id) + "): ";
    Check(control.id == expected.id, where + "id " + std::to_string(control.id));
    Check(control.kind == UpperCase(expected.kind), where + "class " + control.kind);
    Check(control.text == expected.text, where + "text");
    Check(control.x == expected.x && control.y == expected.y && control.width == expected.width &&
              control.height == expected.height,
          where + "at (" + std::to_string(control.x) + ", " + std::to_string(control.y) + "), " +
              std::to_string(control.width) + " x " + std::to_string(control.height));
    Check(control.style == expected.style, where + "style " + Hex(control.style) + ", table " + Hex(expected.style));
    Check(control.exStyle == 0, where + "no extended style");
  }
}

const BITMAPINFOHEADER* BitmapHeader(HMODULE module, int id) {
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  return loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
}

#pragma pack(push, 2)
struct IconDirectoryEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct IconDirectory {
  WORD reserved, type, count;
  IconDirectoryEntry entries[1];
};
#pragma pack(pop)

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: template_check QORMAIL.DLL\n");
    return 2;
  }
  HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    std::fprintf(stderr, "template_check: cannot load %s\n", argv[1]);
    return 2;
  }

  const std::vector<korvik::DialogResource> dialogs = korvik::ReadDialogResources(module);
  std::set<int> ids;
  for (const korvik::DialogResource& dialog : dialogs) ids.insert(dialog.id);
  Check(ids == std::set<int>{129, 131, 132, 137}, "dialog templates 129, 131, 132 and 137, no others");
  for (const korvik::DialogResource& dialog : dialogs) {
    if (const res::DialogTemplate* table = res::FindDialogTemplate(dialog.id)) CheckDialog(dialog, *table);
  }

  for (const int id : {231, 232, 234, 235, 236}) {
    const BITMAPINFOHEADER* header = BitmapHeader(module, id);
    Check(header && header->biWidth == 17 && header->biHeight == 11 && header->biBitCount == 4 &&
              (header->biClrUsed == 0 || header->biClrUsed == 16),
          "bitmap " + std::to_string(id) + ": 17 x 11, 16 colours");
  }

  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(130), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  HGLOBAL loaded = group ? LoadResource(module, group) : nullptr;
  const auto* icons = loaded ? static_cast<const IconDirectory*>(LockResource(loaded)) : nullptr;
  Check(icons && icons->count == 1 && icons->entries[0].width == 32 && icons->entries[0].height == 32 &&
            icons->entries[0].colours == 16 && icons->entries[0].bitCount == 4,
        "icon 130: one image, 32 x 32, 16 colours");

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
