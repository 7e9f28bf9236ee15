// The user of the one-shot commands (ids, register): answers each message box and dialog of the
// add-in's export and registration as it opens, and keeps the texts of the message boxes, which
// the commands only pass on when the files show that something failed.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace cli {

class AnsweringUser {
 public:
  // The path chosen in the save-file dialog that follows a question; none while empty.
  void SaveAs(std::string path) { saveAs_ = std::move(path); }

  // An event of the desktop or the host (EventOutput). The desktop reports a box or a dialog when
  // it opens, before it takes the user's answer, so the answer queued here is the one it gets:
  // Yes to a question (then the save-file path), every row kept in the ID selection, OK to a
  // message. Other dialogs get nothing queued, so the desktop stops the run.
  void Hear(const std::vector<std::string>& event);

  // The texts (code page 932) of the boxes answered with OK, in order.
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  std::string saveAs_;
  std::vector<std::string> messages_;
};

}  // namespace cli
