// Dialog templates as a module holds them (RT_DIALOG resources, DLGTEMPLATE or DLGTEMPLATEEX),
// read back into plain values: texts in code page 932, predefined classes by name, an ordinal
// text as "#N".
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvik {

struct ControlResource {
  int id = 0;  // -1: none (0xFFFF)
  std::string kind;  // "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX" or the class name
  std::string text;
  int x = 0, y = 0, width = 0, height = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
};

struct DialogResource {
  int id = 0;
  bool extended = false;  // DLGTEMPLATEEX
  std::string caption;
  std::string menu;         // empty: none
  std::string windowClass;  // empty: the dialog class
  int x = 0, y = 0, width = 0, height = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int pointSize = 0;  // with DS_SETFONT
  std::string font;
  std::vector<ControlResource> controls;
};

// Nothing when the bytes are no well-formed template.
std::optional<DialogResource> ParseDialogTemplate(const void* data, size_t size);
// Every RT_DIALOG resource of the module with a numeric name, in ascending order of ids.
std::vector<DialogResource> ReadDialogResources(HMODULE module);

}  // namespace korvik
