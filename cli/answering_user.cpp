#include "cli/answering_user.h"

#include "host/scripted_user.h"
#include "platform/desktop.h"

namespace cli {
namespace {

void Queue(scripted::UserAction action, std::string description) {
  action.description = std::move(description);
  scripted::QueueUserAction(std::move(action));
}

void Answer(int answer, const char* description) {
  scripted::UserAction action;
  action.kind = scripted::UserAction::Kind::Answer;
  action.answer = answer;
  Queue(std::move(action), description);
}

}  // namespace

void AnsweringUser::Hear(const std::vector<std::string>& event) {
  if (event.empty()) return;
  if (event[0] == "MessageBox" && event.size() >= 5) {
    const std::string& buttons = event[2];
    if (buttons == "YESNOCANCEL" || buttons == "YESNO") {
      Answer(scripted::kYes, "answer yes");
      if (!saveAs_.empty()) {
        // Left unused when no save-file dialog follows; the run then reports it.
        scripted::UserAction save;
        save.kind = scripted::UserAction::Kind::SaveFile;
        save.text = saveAs_;
        Queue(std::move(save), "savefile " + saveAs_);
      }
    } else {
      Answer(scripted::kOk, "answer ok");
      messages_.push_back(event[4]);
    }
  } else if (event[0] == "Dialog" && event.size() >= 2 && event[1] == std::to_string(scripted::kIdSelectDialog)) {
    scripted::UserAction select;
    select.kind = scripted::UserAction::Kind::IdSelect;
    select.allRows = true;
    Queue(std::move(select), "idselect all");
  }
}

}  // namespace cli
