// mailzolka's commands: run the add-in module in the substitute host on the desktop, from a script
// or as a one-shot listing of one or more logs, and print what the add-in shows.
#include "cli/commands.h"

#include <charconv>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "base/pane_commands.h"
#include "cli/cleanup.h"
#include "cli/command_support.h"
#include "cli/json_output.h"
#include "cli/log_input.h"
#include "cli/shelf.h"
#include "cli/tree_listing.h"
#include "cli/usage.h"
#include "host/cp932_text.h"
#include "host/script.h"
#include "host/session.h"
#include "platform/desktop.h"

namespace cli {

int SessionCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kProfileDirOption);
  if (args.operands.size() != 2) {
    throw Failure{"session needs LOG and SCRIPT (see mailzolka --help)"};
  }
  const std::string& logPath = args.operands[0];
  const std::string& scriptPath = args.operands[1];
  std::string name = ScriptName(scriptPath);

  // The whole script is checked before anything runs.
  const Encoding encoding = ParseEncoding(args.encoding);
  std::optional<host::LogStore> log;
  try {
    log.emplace(LoadLog(logPath, logPath, encoding));
  } catch (const UnreadableLog& unreadable) {
    throw Failure{unreadable.message};
  }
  std::vector<host::ScriptCommand> commands;
  try {
    commands = host::ParseScript(ReadScript(scriptPath));
  } catch (const host::ScriptInputError& error) {
    throw Failure{name + ":" + std::to_string(error.line) + ": " + error.what()};
  }

  std::unique_ptr<host::AddinModule> addin = LoadAddin(args.addin);
  ProfileDirectory profile(args.profileDir);
  desktop::SetProfileDirectory(profile.Path());
  const EventSinkScope events(PrintLine);
  Run run(*addin, std::move(*log), logPath, PrintLine);
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
  } catch (const desktop::ScriptError& error) {
    return Report(name + ":" + std::to_string(line) + ": " + host::RenderCp932(error.what()));
  }
  CheckOutput();
  return 0;
}

// A view by number (1 to 5) or by name.
int ParseView(const std::string& view) {
  static const char* const kNames[] = {"received", "received-by-id", "sent", "sent-by-id", "by-id"};
  for (int mode = 1; mode <= 5; ++mode) {
    if (view == kNames[mode - 1]) return mode;
  }
  int viewMode = 0;
  auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), viewMode);
  if (view.empty() || error != std::errc() || end != view.data() + view.size() || viewMode < 1 ||
      viewMode > 5) {
    throw Failure{"bad --view '" + view + "': 1 to 5, or received, received-by-id, sent, sent-by-id, by-id"};
  }
  return viewMode;
}

int ListCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kViewOption | kWindowOption | kTsvOption | kJsonOption);
  if (args.operands.empty()) throw Failure{"list needs LOG (see mailzolka list --help)"};
  const int viewMode = ParseView(args.view.value_or("1"));
  ParseEncoding(args.encoding);  // bad usage is found before any log is read

  std::unique_ptr<host::AddinModule> addin = LoadAddin(args.addin);
  ProfileDirectory profile(std::nullopt);
  desktop::SetProfileDirectory(profile.Path());
  WriteSettings(viewMode, !args.window);
  // A person reading the tree wants the tree alone; --tsv keeps the events.
  host::EventOutput output = [](const std::vector<std::string>&) {};
  if (args.tsv) output = PrintLine;
  const EventSinkScope events(output);
  const bool several = args.operands.size() > 1;
  bool first = true;

  return ForEachLog(args, *addin, output, true, [&](const std::string& path, Run& run) {
    if (several && args.tsv) std::cout << "Log\t" << SafeText(path) << '\n';
    if (several && !args.tsv && !args.json) {
      std::cout << (first ? "" : "\n") << "==> " << SafeText(path) << " <==\n";
    }
    first = false;
    RunScript(run, "attach\nactivate 1\n");
    run.session->Finish();
    if (!run.substitute->HasPane()) throw UnreadableLog{path + ": the add-in registered no pane"};
    const std::vector<desktop::TreeRow> rows = desktop::DumpTree(run.substitute->PaneWindow());
    if (args.json) {
      const std::vector<ItemKind> kinds = KindsOf(rows, run.substitute->Log());
      for (size_t i = 0; i < rows.size(); ++i) {
        std::cout << TreeItemJson(path, viewMode, rows[i], kinds[i]) << '\n';
      }
    } else if (args.tsv) {
      for (const desktop::TreeRow& row : rows) PrintLine(host::TreeRowFields(row));
    } else {
      std::cout << ReadableTree(rows);
    }
    if (viewMode == qor::kReceivedById || viewMode == qor::kSentById || viewMode == qor::kBothById) {
      ReportMailsLeftOut(run, path, viewMode);
    }
  });
}

}  // namespace cli

int cli::RunMailzolka(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  InstallCleanupHandlers();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << cli::kShortUsage;
    return kBadInput;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  try {
    if (command == "help" || command == "--help" || command == "-h") {
      if (!args.empty()) {
        const char* help = CommandHelp(args.front());
        if (!help) throw Failure{"no command " + args.front() + " (see mailzolka --help)"};
        std::cout << help;
      } else {
        std::cout << cli::kUsage;
      }
      CheckOutput();
      return 0;
    }
    if (command == "--version") {
      std::cout << "mailzolka " << MAILZOLKA_VERSION << '\n';
      CheckOutput();
      return 0;
    }
    // COMMAND --help (or -h) anywhere before a "--": that command's help.
    for (const std::string& arg : args) {
      if (arg == "--") break;
      if ((arg == "--help" || arg == "-h") && CommandHelp(command)) {
        std::cout << CommandHelp(command);
        CheckOutput();
        return 0;
      }
    }
    if (command == "session") return SessionCommand(args);
    if (command == "list") return ListCommand(args);
    if (command == "mails") return MailsCommand(args);
    if (command == "show") return ShowCommand(args);
    if (command == "ids") return IdsCommand(args);
    if (command == "register") return RegisterCommand(args);
    throw Failure{"unknown command " + command + " (see mailzolka --help)"};
  } catch (const Failure& failure) {
    return Report(failure.message, failure.status);
  } catch (const host::ScriptInputError& error) {  // the one-shot commands' own scripts
    return Report(error.what());
  } catch (const desktop::ScriptError& error) {
    return Report(host::RenderCp932(error.what()));
  } catch (const std::bad_alloc&) {
    return Report("out of memory");
  } catch (const std::exception& error) {
    return Report(std::string("internal error: ") + error.what(), 1);
  }
}
