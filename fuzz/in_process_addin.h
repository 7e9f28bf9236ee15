// The add-in linked into the running program and attached to a substitute host on the simulated
// desktop: what `mailzolka session` does with the loaded module, without loading it, so that a
// fuzz target or a test can drive it many times a second and see its state. Shared by the fuzz
// targets and the fault tests.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/addin_state.h"
#include "base/host_abi.h"
#include "host/log_store.h"
#include "host/scripted_user.h"
#include "host/substitute_host.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/sim/desktop_internal.h"

// The add-in's entry point (addin/entry.cpp is compiled into the program).
extern "C" int GiveAddinInterface(qor::HostInterface* host);

namespace qortest {

using Events = std::vector<std::vector<std::string>>;

// One attachment of the add-in to a host holding `logBytes`. The desktop and the add-in's state
// start afresh, as in a newly started host process; the profile directory is `profileDirectory`.
class InProcessAddin {
 public:
  // `appendRoom`: how many lines the host may append (the fuzz targets append a few).
  InProcessAddin(std::string_view logBytes, const std::string& profileDirectory, Events* events = nullptr,
                 std::string title = "log.txt", std::size_t appendRoom = host::LogStore::kAppendRoom)
      : events_(events),
        fresh_(Fresh(profileDirectory, events)),
        host_(host::LogStore(logBytes, appendRoom), std::move(title), Sink(events)) {}

  ~InProcessAddin() {
    if (qor::state.host == &host_) GiveAddinInterface(&host_);  // detach
    qor::state = qor::AddinState{};
  }
  InProcessAddin(const InProcessAddin&) = delete;
  InProcessAddin& operator=(const InProcessAddin&) = delete;

  // GiveAddinInterface's first call; true when the pane is registered.
  bool Attach() { return GiveAddinInterface(&host_) == 1 && host_.HasPane(); }

  host::SubstituteHost& Host() { return host_; }
  host::LogStore& Log() { return host_.Log(); }
  desktop::Handle Tree() const { return host_.PaneWindow(); }

  // A scripted user's error inside the call comes out here, as the session reports it.
  void Send(unsigned message, uintptr_t first, intptr_t second = 0) {
    host_.SendToPane(message, first, second);
    desktop::ThrowPendingScriptError();
  }
  void Activate() { Send(qor::kActivationNotice, 1); }
  void Command(int id) { Send(qor::kWmCommand, static_cast<uintptr_t>(id)); }

  std::vector<desktop::TreeRow> Dump() const { return desktop::DumpTree(Tree()); }
  desktop::Handle ItemAt(const std::vector<int>& path) const { return desktop::TreeItemAt(Tree(), path); }
  void Click(const std::vector<int>& path) {
    if (desktop::Handle item = ItemAt(path)) desktop::ClickItem(Tree(), item);
    desktop::ThrowPendingScriptError();
  }
  void ClickExpand(const std::vector<int>& path) {
    if (desktop::Handle item = ItemAt(path)) desktop::ClickExpandButton(Tree(), item);
    desktop::ThrowPendingScriptError();
  }

  // The scripted user's next answers.
  static void Answer(int button) {
    scripted::UserAction action;
    action.kind = scripted::UserAction::Kind::Answer;
    action.answer = button;
    scripted::QueueUserAction(action);
  }
  static void Search(std::string text) {
    scripted::UserAction action;
    action.kind = scripted::UserAction::Kind::Search;
    action.text = std::move(text);
    scripted::QueueUserAction(action);
  }
  static void SaveFile(std::optional<std::string> path) {
    scripted::UserAction action;
    action.kind = scripted::UserAction::Kind::SaveFile;
    action.cancel = !path;
    action.text = path.value_or("");
    scripted::QueueUserAction(action);
  }
  static void KeepAllRows() {
    scripted::UserAction action;
    action.kind = scripted::UserAction::Kind::IdSelect;
    action.allRows = true;
    scripted::QueueUserAction(action);
  }
  static void CloseDialog(int button) {
    scripted::UserAction action;
    action.kind = scripted::UserAction::Kind::Close;
    action.answer = button;
    scripted::QueueUserAction(action);
  }
  // Drops whatever answers are left, so that the next box or dialog starts from an empty queue.
  static void DropUnusedAnswers() {
    try {
      desktop::ThrowPendingScriptError();
    } catch (const desktop::ScriptError&) {
    }
    while (!scripted::UnusedUserActions().empty()) {
      try {
        platform::ShowMessageBox("", "", platform::Buttons::Ok, platform::Icon::Exclamation);
      } catch (const desktop::ScriptError&) {
        // The action did not fit a box, but it was taken all the same.
      }
    }
  }

  // The events seen so far of one kind (MessageBox, Dialog, ShowLine, ...).
  std::vector<std::vector<std::string>> EventsNamed(std::string_view name) const {
    std::vector<std::vector<std::string>> found;
    if (!events_) return found;
    for (const auto& event : *events_) {
      if (!event.empty() && event.front() == name) found.push_back(event);
    }
    return found;
  }

 private:
  // Runs before the host is made: a fresh desktop and add-in state.
  static int Fresh(const std::string& profileDirectory, Events* events) {
    qor::state = qor::AddinState{};
    desktop::Reset();
    scripted::SeatScriptedUser();
    desktop::SetProfileDirectory(profileDirectory);
    if (events) desktop::SetEventSink(Sink(events));
    return 0;
  }
  static host::EventOutput Sink(Events* events) {
    if (!events) return [](const std::vector<std::string>&) {};
    return [events](const std::vector<std::string>& fields) { events->push_back(fields); };
  }

  Events* events_;
  int fresh_;  // initialised before the host: the desktop is reset before the host makes its windows
  host::SubstituteHost host_;
};

}  // namespace qortest
