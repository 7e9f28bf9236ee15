// Message boxes, answered by the scripted user.
#include <algorithm>
#include <vector>

#include "platform/sim/desktop/state.h"
#include "platform/sim/desktop_internal.h"

namespace simdesk::seam {
namespace {

struct ButtonSet {
  const char* name;
  const char* article;
  std::vector<int> answers;  // the ids of its buttons
};

const ButtonSet& ButtonsOf(BoxButtons buttons) {
  static const ButtonSet kOk{"OK", "an", {1}};
  static const ButtonSet kOkCancel{"OKCANCEL", "an", {1, 2}};
  static const ButtonSet kYesNo{"YESNO", "a", {6, 7}};
  static const ButtonSet kYesNoCancel{"YESNOCANCEL", "a", {6, 7, 2}};
  switch (buttons) {
    case BoxButtons::Ok: return kOk;
    case BoxButtons::OkCancel: return kOkCancel;
    case BoxButtons::YesNo: return kYesNo;
    case BoxButtons::YesNoCancel: return kYesNoCancel;
  }
  return kOk;
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
  const ButtonSet& set = ButtonsOf(buttons);
  detail::TakeFocusAway();
  detail::Emit({"MessageBox", caption, set.name, IconShown(icon), text});
  const std::optional<UserAction> action = detail::TakeUserAction();
  const std::string box = "message box \"" + text + "\"";
  if (!action) detail::Fail(box + " has no queued answer");
  if (action->kind != UserAction::Kind::Answer) {
    detail::Fail("queued action '" + detail::Describe(*action) + "' is no answer to " + box);
  }
  if (std::find(set.answers.begin(), set.answers.end(), action->answer) == set.answers.end()) {
    detail::Fail("queued answer '" + detail::Describe(*action) + "' does not fit " + set.article + " " +
                 set.name + " box");
  }
  return action->answer;
}

}  // namespace simdesk::seam
