// The common save-file dialog.
#include "platform/dialog.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

#include <commdlg.h>

namespace platform {

// Owned by the host's top-level window, which the dialog disables and enables again before it
// goes; the process's current directory stays where the host had it (OFN_NOCHANGEDIR: the folder
// chosen is not left current).
bool AskSaveFilePath(std::string& path) {
  wchar_t file[MAX_PATH] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
  bool chosen = false;
  {
    const win32::ModalScope scope;
    dialog.hwndOwner = scope.Owner();
    chosen = GetSaveFileNameW(&dialog) != FALSE;
  }
  if (!chosen) return false;
  path = win32::FromWide(file);
  return true;
}

}  // namespace platform
