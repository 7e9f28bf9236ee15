// Command 131: every ID of the last sent-and-received-by-ID listing with its name, one "ID,name"
// line each, LF-terminated. The file is written beside the target and moved over it only when
// every line is on disk, so a failure never leaves a half-written file or destroys the old one.
#include <cstdio>
#include <string>

#include "addin/addin_state.h"
#include "addin/commands.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "res/texts.h"

namespace qor {

namespace {

void Tell(const std::string& text, platform::Icon icon = platform::Icon::None) {
  const std::string caption = ModuleBaseName();
  platform::ShowMessageBox(caption.c_str(), text.c_str(), platform::Buttons::Ok, icon);
}

// A file beside the target that did not exist before, so that a file of the user's that happens
// to carry the name is neither written over nor removed. (The C library of Windows knows no
// exclusive "x" mode, hence the look before the create.)
std::FILE* CreateTemporary(const std::string& target, std::string* path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *path = target + ".partial" + (attempt > 0 ? std::to_string(attempt) : "");
    if (std::FILE* existing = std::fopen(path->c_str(), "rb")) {
      std::fclose(existing);
      continue;
    }
    if (std::FILE* file = std::fopen(path->c_str(), "wb")) return file;
    break;
  }
  path->clear();
  return nullptr;
}

// Writes the lines into a new file beside target, named in *path; false on any failure (that
// file is then removed again, and *path is empty).
bool WriteIdLines(const std::string& target, std::string* path, int* written) {
  std::FILE* file = CreateTemporary(target, path);
  if (!file) return false;
  bool ok = true;
  for (std::size_t i = 0; ok && i < state.idList.size(); ++i) {
    const std::string line = state.idList[i] + "," + state.nameList[i] + "\n";  // written whole
    ok = std::fwrite(line.data(), 1, line.size(), file) == line.size();
    if (ok) ++*written;
  }
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::remove(path->c_str());
    path->clear();
  }
  return ok;
}

}  // namespace

void ExportCsv() {
  const std::string caption = ModuleBaseName();
  if (platform::ShowMessageBox(caption.c_str(), res::kAskExport, platform::Buttons::YesNoCancel,
                               platform::Icon::Question) != platform::Answer::Yes) {
    return;
  }
  std::string path;
  if (!platform::AskSaveFilePath(path)) return;

  std::string temporary;
  int written = 0;
  if (!WriteIdLines(path, &temporary, &written) || !platform::ReplaceFile(temporary, path)) {
    if (!temporary.empty()) std::remove(temporary.c_str());  // written, but not moved
    Tell(res::kExportFailed + path, platform::Icon::Exclamation);
    return;
  }
  Tell(std::to_string(written) + res::kExportedSuffix);
}

}  // namespace qor
