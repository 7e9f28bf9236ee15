// The search dialog: a combo box offering the texts searched before, oldest first.
#pragma once
#include <string>

#include "platform/dialog.h"

namespace qor {

class SubjectSearchDialog : public platform::Dialog {
 public:
  SubjectSearchDialog();
  // 1 and the entered text after OK; 2, text untouched, after Cancel, Escape or the close box.
  int Run(std::string& text);

 protected:
  bool OnInit() override;
  void OnOk() override;

 private:
  platform::ComboBox combo_;
  std::string entered_;
};

}  // namespace qor
