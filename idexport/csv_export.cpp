// Command 131: every ID of the last sent-and-received-by-ID listing with its name, one "ID,name"
// line each, LF-terminated. CR, LF and NUL in an ID or name, and a comma in an ID that a reader
// could not tell from the separator, are written as blanks; the entries so changed are counted in
// a box of their own. The file is written beside the target and put in its place only when
// every line is on disk, so a failure never leaves a half-written file or destroys the old one.
#include <string>

#include "base/addin_state.h"
#include "idexport/csv_export.h"
#include "idexport/field_text.h"
#include "platform/dialog.h"
#include "platform/file.h"
#include "platform/message_box.h"
#include "res/texts.h"

namespace qor {

namespace {


// Writes the lines into a new version of the file; the old one stays whole until every line is
// written. `blanked` counts the lines written with blanks for their line breaks; `kept` names the
// new file when it could not take the old one's place after that was removed.
bool WriteIdLines(const std::string& target, int* written, int* blanked, std::string* kept) {
  platform::FileReplacement file;
  if (!file.Begin(target)) return false;
  for (const IdEntry& entry : state.idEntries) {
    const std::string id = ExportedId(entry.id, entry.name);
    const std::string name = Blanked(entry.name);
    if (id != entry.id || name != entry.name) ++*blanked;
    const std::string line = id + "," + name + "\n";  // written whole
    if (!file.Write(line.data(), line.size())) return false;
    ++*written;
  }
  if (file.Commit()) return true;
  *kept = file.Kept();
  return false;
}

}  // namespace

void ExportCsv() {
  if (ShowBox(res::kAskExport, platform::Buttons::YesNoCancel, platform::Icon::Question) != platform::Answer::Yes) {
    return;
  }
  std::string path;
  if (!platform::AskSaveFilePath(path)) return;

  int written = 0;
  int blanked = 0;
  std::string kept;
  if (!WriteIdLines(path, &written, &blanked, &kept)) {
    std::string text = res::kExportFailed + path;
    if (!kept.empty()) text += "\n" + (res::kExportKept + kept);
    ShowBox(text);
    return;
  }
  ShowBox(std::to_string(written) + res::kExportedSuffix);
  if (blanked > 0) ShowBox(std::to_string(blanked) + res::kLineBreaksBlanked);
}

}  // namespace qor
