// The add-in's dialog templates as data: the simulated desktop builds its dialogs from these, and
// the Windows resource script states the same (a test compares them).
#pragma once
#include <cstdint>
#include <vector>

namespace res {

struct DialogControl {
  int id;             // -1: no id
  const char* kind;   // window class: "BUTTON", "STATIC", "COMBOBOX", "LISTBOX", "msctls_progress32"
  const char* text;   // code page 932
  int x, y, width, height;  // dialog units
  uint32_t style;
};

struct DialogTemplate {
  int id;
  const char* caption;  // code page 932
  int width, height;    // dialog units
  const char* font;     // code page 932
  int pointSize;
  uint32_t style;
  std::vector<DialogControl> controls;
};

const DialogTemplate* FindDialogTemplate(int id);

constexpr int kAboutBoxTemplate = 129;
constexpr int kScanProgressTemplate = 131;
constexpr int kSubjectSearchTemplate = 132;
constexpr int kIdSelectTemplate = 137;
constexpr int kProgressBarControl = 1001;
constexpr int kComboBoxControl = 1001;
constexpr int kListBoxControl = 1001;

}  // namespace res
