// mailzolka: runs the add-in module in the substitute host on the simulated desktop, from a script
// or as a one-shot listing, and prints what the add-in shows.
#include <stdlib.h>

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
#include <vector>

#include "cli/tree_listing.h"
#include "cli/usage.h"
#include "host/addin_module.h"
#include "host/cp932_text.h"
#include "host/log_store.h"
#include "host/script.h"
#include "host/session.h"
#include "host/substitute_host.h"
#include "platform/sim/desktop.h"

namespace {

namespace fs = std::filesystem;

constexpr int kBadInput = 2;

// Bad input: one line on standard error, exit status 2.
struct Failure {
  std::string message;
};

int Report(const std::string& message, int status = kBadInput) {
  std::cout.flush();
  std::cerr << "mailzolka: " << message << '\n';
  return status;
}

// The profile directory: the one asked for (created when missing), or a fresh temporary one that
// goes away with the session.
class ProfileDirectory {
 public:
  explicit ProfileDirectory(const std::optional<std::string>& requested) {
    if (requested) {
      std::error_code error;
      fs::create_directories(*requested, error);
      if (error || !fs::is_directory(*requested)) {
        std::string reason = error ? error.message() : "not a directory";
        throw Failure{"cannot create profile directory " + *requested + ": " + reason};
      }
      path_ = *requested;
      return;
    }
    std::string pattern = (fs::temp_directory_path() / "mailzolka-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw Failure{"cannot create a temporary profile directory"};
    path_ = pattern;
    temporary_ = true;
  }
  ~ProfileDirectory() {
    std::error_code ignored;
    if (temporary_) fs::remove_all(path_, ignored);
  }
  ProfileDirectory(const ProfileDirectory&) = delete;
  ProfileDirectory& operator=(const ProfileDirectory&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  bool temporary_ = false;
};

void PrintLine(const std::vector<std::string>& fields) {
  std::cout << host::FormatFields(fields) << '\n';
}

host::LogStore ReadLog(const std::string& path) {
  try {
    return host::LoadLogFile(path);
  } catch (const std::runtime_error& error) {
    throw Failure{error.what()};
  }
}

std::string ReadScript(const std::string& path) {
  if (path == "-") {
    return std::string(std::istreambuf_iterator<char>(std::cin), {});
  }
  std::error_code error;
  if (fs::is_directory(path, error)) throw Failure{"cannot read script " + path + ": a directory"};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw Failure{"cannot read script " + path + ": " + std::strerror(errno)};
  std::string text;
  char chunk[4096];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
  bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) throw Failure{"cannot read script " + path};
  return text;
}

std::unique_ptr<host::AddinModule> LoadAddin(const std::string& path) {
  try {
    return std::make_unique<host::AddinModule>(path);
  } catch (const std::runtime_error& error) {
    throw Failure{error.what()};
  }
}

std::string ScriptName(const std::string& path) { return path == "-" ? "<stdin>" : path; }

// The options both commands take, read from the front; what remains are the operands.
struct Arguments {
  std::optional<std::string> profileDir;
  std::optional<std::string> addin;
  std::optional<std::string> view;
  bool all = false;
  bool tsv = false;
  std::vector<std::string> operands;
};

Arguments ParseArguments(const std::vector<std::string>& args, bool listOptions) {
  Arguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](const char* option) {
      if (i + 1 >= args.size()) throw Failure{std::string(option) + " needs a value"};
      return args[++i];
    };
    if (arg == "--addin") {
      parsed.addin = value("--addin");
    } else if (arg == "--profile-dir" && !listOptions) {
      parsed.profileDir = value("--profile-dir");
    } else if (arg == "--view" && listOptions) {
      parsed.view = value("--view");
    } else if (arg == "--all" && listOptions) {
      parsed.all = true;
    } else if (arg == "--tsv" && listOptions) {
      parsed.tsv = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      throw Failure{"unknown option " + arg};
    } else {
      parsed.operands.push_back(arg);
    }
  }
  return parsed;
}

// Everything a run needs, set up in this order once the log has been read and the script parsed:
// the module is checked before the desktop is touched.
struct Run {
  Run(host::LogStore log, const std::string& logPath, const Arguments& args,
      host::EventOutput output)
      : addin(LoadAddin(args.addin.value_or(host::DefaultAddinPath()))), profile(args.profileDir) {
    simdesk::SetProfileDirectory(profile.Path());
    simdesk::SetEventSink(output);
    substitute = std::make_unique<host::SubstituteHost>(
        std::move(log), fs::path(logPath).filename().string(), output);
    session = std::make_unique<host::Session>(*substitute, *addin, output);
  }
  ~Run() { simdesk::SetEventSink({}); }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  std::unique_ptr<host::AddinModule> addin;
  ProfileDirectory profile;
  std::unique_ptr<host::SubstituteHost> substitute;
  std::unique_ptr<host::Session> session;
};

int SessionCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, false);
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
  Arguments args = ParseArguments(argv, true);
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
  try {
    for (const host::ScriptCommand& command : commands) run.session->Run(command);
    run.session->Finish();
    if (!run.substitute->HasPane()) return Report("the add-in registered no pane");
    std::vector<simdesk::TreeRow> rows = simdesk::DumpTree(run.substitute->PaneWindow());
    if (args.tsv) {
      for (const simdesk::TreeRow& row : rows) PrintLine(host::TreeRowFields(row));
    } else {
      std::cout << cli::ReadableTree(rows);
    }
  } catch (const host::ScriptInputError& error) {
    return Report(error.what());
  } catch (const simdesk::ScriptError& error) {
    return Report(host::RenderCp932(error.what()));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
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
    throw Failure{"unknown command " + command + " (see mailzolka --help)"};
  } catch (const Failure& failure) {
    return Report(failure.message);
  } catch (const std::exception& error) {
    return Report(std::string("internal error: ") + error.what(), 1);
  }
}
