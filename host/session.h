// Runs a parsed script against the substitute host and the loaded add-in, on the simulated desktop.
#pragma once
#include <string>
#include <vector>

#include "host/addin_module.h"
#include "host/script.h"
#include "host/substitute_host.h"

namespace host {

class Session {
 public:
  Session(SubstituteHost& host, const AddinModule& addin, EventOutput output);

  // Throws ScriptInputError when the command cannot be carried out (no pane, no such item, ...);
  // a desktop::ScriptError from inside the add-in passes through.
  void Run(const ScriptCommand& command);
  // After the last command: throws ScriptInputError when a queued action was never used.
  void Finish() const;

 private:
  void Dump() const;
  void PrintMenu() const;
  desktop::Handle ItemAt(const ScriptCommand& command) const;

  SubstituteHost& host_;
  const AddinModule& addin_;
  EventOutput output_;
  struct QueuedAction {
    int line;
    std::string written;
  };
  std::vector<QueuedAction> queued_;  // every action queued, in order
};

// One dump line's fields: depth, param, image, selected image, children, expanded, selected, label.
std::vector<std::string> TreeRowFields(const desktop::TreeRow& row);

}  // namespace host
