#include "platform/message_box.h"

#include "platform/sim/desktop_internal.h"

namespace platform {

Answer ShowMessageBox(const char* caption, const char* text, Buttons buttons, Icon icon) {
  using simdesk::seam::BoxButtons;
  using simdesk::seam::BoxIcon;
  static constexpr BoxButtons kButtons[] = {BoxButtons::Ok, BoxButtons::OkCancel, BoxButtons::YesNo,
                                            BoxButtons::YesNoCancel};
  static constexpr BoxIcon kIcons[] = {BoxIcon::None, BoxIcon::Exclamation, BoxIcon::Question};
  return static_cast<Answer>(simdesk::seam::MessageBox(caption ? caption : "", text ? text : "",
                                                       kButtons[static_cast<int>(buttons)],
                                                       kIcons[static_cast<int>(icon)]));
}

}  // namespace platform
