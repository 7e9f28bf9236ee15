// A dialog template as a module holds it among its resources, in plain values. The simulated
// desktop builds a dialog from the template it is handed, as Windows does from a module's
// resource; the Windows build has the same templates in its resource script.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

struct DialogControl {
  int id;             // -1: no id
  const char* kind;   // window class: "BUTTON", "STATIC", "COMBOBOX", "LISTBOX", "msctls_progress32"
  const char* text;   // code page 932
  int x, y, width, height;  // dialog units
  uint32_t style;
};

struct DialogTemplate {
  int id;               // the resource's number
  const char* caption;  // code page 932
  int width, height;    // dialog units
  const char* font;     // code page 932
  int pointSize;
  uint32_t style;
  std::vector<DialogControl> controls;
};

// The module's own dialog resource `id`, or null. Defined by the module with its resources.
const DialogTemplate* FindDialogTemplate(int id);

}  // namespace platform
