// The common save-file dialog, answered by the scripted user. It shows nothing of its own.
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {

bool AskSaveFile(std::string& path) {
  const std::optional<UserAction> action = detail::TakeUserAction();
  if (!action) detail::Fail("the save-file dialog has no queued answer");
  if (action->kind != UserAction::Kind::SaveFile) {
    detail::Fail("queued action '" + detail::Describe(*action) + "' does not fit the save-file dialog");
  }
  if (action->cancel) return false;
  path = action->text;
  return true;
}

}  // namespace simdesk::seam
