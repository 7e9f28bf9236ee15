// Message boxes, answered by the user at the screen.
#include <vector>

#include "platform/message_box.h"
#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace platform {
namespace {

std::vector<int> ButtonIds(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return {1};
    case Buttons::OkCancel: return {1, 2};
    case Buttons::YesNo: return {6, 7};
    case Buttons::YesNoCancel: return {6, 7, 2};
  }
  return {1};
}

// The icon the box shows.
const char* IconShown(Icon icon) {
  switch (icon) {
    case Icon::Exclamation: return "EXCLAMATION";
    case Icon::Question: return "QUESTION";
  }
  return "NONE";
}

}  // namespace

Answer ShowMessageBox(const char* caption, const char* text, Buttons buttons, Icon icon) {
  namespace detail = desktop::detail;
  const std::vector<int> shown = ButtonIds(buttons);
  const std::string shownText = text ? text : "";
  const desktop::seam::ModalFocus focus;
  detail::Emit({"MessageBox", caption ? caption : "", desktop::ButtonSetName(shown), IconShown(icon), shownText});
  const desktop::Turn turn = detail::TheUser().AnswerMessageBox(shown, shownText);
  if (!turn.failure.empty()) detail::Fail(turn.failure);
  return static_cast<Answer>(turn.button);
}

}  // namespace platform
