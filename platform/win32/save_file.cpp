// The common save-file dialog.
#include "platform/dialog.h"
#include "platform/win32/win32.h"

#include <commdlg.h>

namespace platform {

bool AskSaveFilePath(std::string& path) {
  char file[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!GetSaveFileNameA(&dialog)) return false;
  path = file;
  return true;
}

}  // namespace platform
