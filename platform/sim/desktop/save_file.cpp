// The common save-file dialog, answered by the user at the screen. It shows nothing of its own. Like the
// real dialog it hands back the full path of the file chosen: a name typed without a directory, or
// with a relative one, is taken in the current directory; and a name that is an existing folder's
// opens that folder, the dialog staying up for the user's next answer. The name is typed and handed
// back in code page 932, as the dialog gives it to an ANSI program; the file system is asked in
// UTF-8.
#include <filesystem>

#include "platform/dialog.h"
#include "platform/sim/desktop/ansi_text.h"
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

bool AskSaveFilePath(std::string& path) {
  namespace detail = desktop::detail;
  const desktop::seam::ModalFocus focus;
  for (;;) {
    std::string typed;
    const desktop::Turn turn = detail::TheUser().ChooseSaveFile(typed);
    if (!turn.failure.empty()) detail::Fail(turn.failure);
    if (turn.button != desktop::kOk) return false;
    std::error_code error, ignored;
    const std::filesystem::path full = std::filesystem::absolute(detail::NativePathFromAnsi(typed), error);
    if (!error && std::filesystem::is_directory(full, ignored)) continue;
    path = error ? typed : detail::AnsiPathFromNative(full.lexically_normal().string());
    return true;
  }
}

}  // namespace platform
