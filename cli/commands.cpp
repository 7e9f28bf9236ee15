// mailzolka's commands: run the add-in module in the substitute host on the desktop, from a script
// or as a one-shot listing, and print what the add-in shows.
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/answering_user.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/tree_listing.h"
#include "cli/usage.h"
#include "host/addin_module.h"
#include "host/cp932_text.h"
#include "host/log_store.h"
#include "host/script.h"
#include "host/session.h"
#include "host/substitute_host.h"
#include "platform/sim/desktop.h"

namespace cli {

namespace fs = std::filesystem;

int SessionCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kProfileDirOption);
  if (args.operands.size() != 2) {
    throw Failure{"session needs LOG and SCRIPT (see mailzolka --help)"};
  }
  const std::string& logPath = args.operands[0];
  const std::string& scriptPath = args.operands[1];
  std::string name = ScriptName(scriptPath);

  // The whole script is checked before anything runs.
  host::LogStore log = ReadLog(logPath);
  std::vector<host::ScriptCommand> commands;
  try {
    commands = host::ParseScript(ReadScript(scriptPath));
  } catch (const host::ScriptInputError& error) {
    throw Failure{name + ":" + std::to_string(error.line) + ": " + error.what()};
  }

  Run run(std::move(log), logPath, args, PrintLine);
  int line = 0;
  try {
    for (const host::ScriptCommand& command : commands) {
      line = command.line;
      run.session->Run(command);
    }
    run.session->Finish();
  } catch (const host::ScriptInputError& error) {
    std::string where = error.line > 0 ? name + ":" + std::to_string(error.line) : name;
    return Report(where + ": " + error.what());
  } catch (const simdesk::ScriptError& error) {
    return Report(name + ":" + std::to_string(line) + ": " + host::RenderCp932(error.what()));
  }
  return 0;
}

int ListCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kViewOption | kAllOption | kTsvOption);
  if (args.operands.size() != 1) throw Failure{"list needs LOG (see mailzolka --help)"};
  std::string view = args.view.value_or("1");
  int viewMode = 0;
  auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), viewMode);
  if (view.empty() || error != std::errc() || end != view.data() + view.size()) {
    throw Failure{"bad --view '" + view + "': a number is needed"};
  }
  host::LogStore log = ReadLog(args.operands[0]);
  std::vector<host::ScriptCommand> commands = host::ParseScript(
      "profile PREVMODE " + std::to_string(viewMode) + "\nprofile ALLDISP " +
      (args.all ? "1" : "0") + "\nattach\nactivate 1\n");

  // A person reading the tree wants the tree alone; --tsv keeps the events.
  host::EventOutput output = PrintLine;
  if (!args.tsv) output = [](const std::vector<std::string>&) {};
  Run run(std::move(log), args.operands[0], args, output);
  for (const host::ScriptCommand& command : commands) run.session->Run(command);
  run.session->Finish();
  if (!run.substitute->HasPane()) return Report("the add-in registered no pane");
  std::vector<simdesk::TreeRow> rows = simdesk::DumpTree(run.substitute->PaneWindow());
  if (args.tsv) {
    for (const simdesk::TreeRow& row : rows) PrintLine(host::TreeRowFields(row));
  } else {
    std::cout << cli::ReadableTree(rows);
  }
  return 0;
}

}  // namespace cli

int cli::RunMailzolka(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << cli::kShortUsage;
    return kBadInput;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  try {
    if (command == "help" || command == "--help" || command == "-h") {
      std::cout << cli::kUsage;
      return 0;
    }
    if (command == "--version") {
      std::cout << "mailzolka " << MAILZOLKA_VERSION << '\n';
      return 0;
    }
    if (command == "session") return SessionCommand(args);
    if (command == "list") return ListCommand(args);
    if (command == "ids") return IdsCommand(args);
    if (command == "register") return RegisterCommand(args);
    throw Failure{"unknown command " + command + " (see mailzolka --help)"};
  } catch (const Failure& failure) {
    return Report(failure.message);
  } catch (const host::ScriptInputError& error) {  // the one-shot commands' own scripts
    return Report(error.what());
  } catch (const simdesk::ScriptError& error) {
    return Report(host::RenderCp932(error.what()));
  } catch (const std::exception& error) {
    return Report(std::string("internal error: ") + error.what(), 1);
  }
}
