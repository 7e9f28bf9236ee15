// The About box: title, version and credits, closed with OK.
#pragma once
#include "platform/dialog.h"

namespace qor {

class AboutBox : public platform::Dialog {
 public:
  AboutBox();

 protected:
  bool OnInit() override;
};

void ShowAboutBox();  // command 1000

}  // namespace qor
