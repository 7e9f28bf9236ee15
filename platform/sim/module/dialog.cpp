// Dialogs on the simulated desktop: the window from the module's own template resource, then the
// desktop's modal loop, in which the user answers.
#include "platform/dialog.h"

#include <string>

#include "platform/sim/desktop_internal.h"
#include "platform/dialog_template.h"

namespace platform {

Dialog::~Dialog() {
  if (desktop::IsWindow(handle_)) desktop::DestroyWindow(handle_);
}

int Dialog::RunModal() {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId_);
  if (!dialogTemplate) return -1;
  const desktop::seam::ModalFocus focus;
  handle_ = desktop::seam::CreateDialogFromTemplate(*dialogTemplate);
  HandleInit();
  int result = 0;
  // A dialog that ends while it starts is never shown to the user.
  if (!desktop::seam::DialogEnded(handle_, result)) {
    HandleCommand(desktop::seam::HandToUser(handle_));
    if (!desktop::seam::DialogEnded(handle_, result)) {
      desktop::seam::FailScript("dialog " + std::to_string(templateId_) + " did not end");
    }
  }
  desktop::DestroyWindow(handle_);
  handle_ = nullptr;
  return result;
}

bool Dialog::CreateModeless() {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId_);
  if (!dialogTemplate) return false;
  handle_ = desktop::seam::CreateDialogFromTemplate(*dialogTemplate);
  HandleInit();
  return true;
}

void Dialog::Show() { desktop::seam::ShowWindow(handle_); }

void Dialog::End(int result) { desktop::seam::EndDialog(handle_, result); }

WindowHandle Dialog::Item(int controlId) const { return desktop::seam::DialogItem(handle_, controlId); }

}  // namespace platform
