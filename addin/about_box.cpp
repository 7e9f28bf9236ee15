#include "addin/about_box.h"

#include "base/center_over_host.h"
#include "res/dialog_templates.h"

namespace qor {

AboutBox::AboutBox() : Dialog(res::kAboutBoxTemplate) {}

bool AboutBox::OnInit() {
  CenterOverHost(Handle(), 0);
  return true;  // focus to the OK button
}

void ShowAboutBox() {
  AboutBox box;
  box.RunModal();
}

}  // namespace qor
