// Message boxes, answered by the scripted user.
#include <vector>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {
namespace {

std::vector<int> ButtonIds(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok: return {1};
    case BoxButtons::OkCancel: return {1, 2};
    case BoxButtons::YesNo: return {6, 7};
    case BoxButtons::YesNoCancel: return {6, 7, 2};
  }
  return {1};
}

// The icon the box shows. A box given none gets the exclamation mark when its buttons are OK,
// OK/Cancel, Yes/No or Yes/No/Cancel, which are all the sets there are.
const char* IconShown(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::None: return "EXCLAMATION";
    case BoxIcon::Exclamation: return "EXCLAMATION";
    case BoxIcon::Question: return "QUESTION";
  }
  return "NONE";
}

}  // namespace

int MessageBox(const std::string& caption, const std::string& text, BoxButtons buttons, BoxIcon icon) {
  const std::vector<int> shown = ButtonIds(buttons);
  detail::TakeFocusAway();
  detail::Emit({"MessageBox", caption, scripted::ButtonSetName(shown), IconShown(icon), text});
  const scripted::Turn turn = detail::TheDesktop().user.AnswerMessageBox(shown, text);
  if (!turn.failure.empty()) detail::Fail(turn.failure);
  return turn.button;
}

}  // namespace simdesk::seam
