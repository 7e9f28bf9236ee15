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
  bool IsTemporary() const { return temporary_; }

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

// The options the commands take (--addin: all of them); what remains are the operands.
struct Arguments {
  std::optional<std::string> profileDir;
  std::optional<std::string> addin;
  std::optional<std::string> view;
  std::optional<std::string> csv;
  bool all = false;
  bool tsv = false;
  std::vector<std::string> operands;
};

enum Option : unsigned {
  kProfileDirOption = 1,
  kViewOption = 2,
  kAllOption = 4,
  kTsvOption = 8,
  kCsvOption = 16
};

Arguments ParseArguments(const std::vector<std::string>& args, unsigned options) {
  Arguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](const char* option) {
      if (i + 1 >= args.size()) throw Failure{std::string(option) + " needs a value"};
      return args[++i];
    };
    if (arg == "--addin") {
      parsed.addin = value("--addin");
    } else if (arg == "--profile-dir" && (options & kProfileDirOption)) {
      parsed.profileDir = value("--profile-dir");
    } else if (arg == "--view" && (options & kViewOption)) {
      parsed.view = value("--view");
    } else if (arg == "--csv" && (options & kCsvOption)) {
      parsed.csv = value("--csv");
    } else if (arg == "--all" && (options & kAllOption)) {
      parsed.all = true;
    } else if (arg == "--tsv" && (options & kTsvOption)) {
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

// ---- ids and register: view 5, then the add-in's own export (131) or registration (130), with a
// user who answers every box (AnsweringUser).

constexpr int kCommandFailed = 1;
constexpr int kRegisterCommand = 130;
constexpr char kRegistryFile[] = "QOR.INI";
constexpr int kRegistryKeys = 99;  // ID1 to ID99
constexpr size_t kRegistryValueSize = 256;

// An ID of the ID list and its name, code page 932.
struct IdEntry {
  std::string id;
  std::string name;
};

void RunScript(Run& run, const std::string& script) {
  for (const host::ScriptCommand& command : host::ParseScript(script)) run.session->Run(command);
}

// View 5 (sent and received mail by ID) on the first activation, which leaves the ID list behind.
void ShowIdView(Run& run, bool all) {
  RunScript(run, std::string("profile PREVMODE 5\nprofile ALLDISP ") + (all ? "1" : "0") +
                     "\nactivate 1\n");
}

std::string CountOfIds(size_t count) {
  return std::to_string(count) + (count == 1 ? " ID" : " IDs");
}

// The number a message of the add-in starts with ("3件 ..."), when it is followed by `rest`.
std::optional<int> LeadingCount(const std::string& text, const std::string& rest) {
  int count = 0;
  const char* const last = text.data() + text.size();
  auto [end, error] = std::from_chars(text.data(), last, count);
  if (error != std::errc() || end == text.data() ||
      std::string_view(end, static_cast<size_t>(last - end)) != rest) {
    return std::nullopt;
  }
  return count;
}

std::string Cp932(const char* utf8) { return host::Utf8ToCp932(utf8).value_or(""); }

// The add-in's export into `path`: the count its message reports, or nothing and that message.
std::optional<int> ExportIds(Run& run, cli::AnsweringUser& user, const std::string& path,
                             std::string* failure) {
  const size_t shown = user.Messages().size();
  user.SaveAs(path);
  RunScript(run, "command 131\n");
  user.SaveAs("");
  if (user.Messages().size() != shown + 1) {
    *failure = "the add-in's export ended without its message";
    return std::nullopt;
  }
  const std::string& message = user.Messages().back();
  std::optional<int> count = LeadingCount(message, Cp932("件 IDを書き出しました。!!"));
  if (!count) *failure = host::RenderCp932(message);
  return count;
}

std::string ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw Failure{"cannot read " + path + ": " + std::strerror(errno)};
  std::string text;
  char chunk[4096];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
  std::fclose(file);
  return text;
}

// The entries of an export file. IDs and names may both hold commas: a line is split before the
// name that its group item shows (the tree holds the groups in the order of the ID list), or at
// its first comma when the item shows another text (a name cut to fit the label).
std::vector<IdEntry> ReadExport(const std::string& path,
                                const std::vector<simdesk::TreeRow>& rows) {
  std::vector<std::string> names;
  for (const simdesk::TreeRow& row : rows) {
    if (row.depth == 1) names.push_back(row.text);
  }
  std::vector<IdEntry> entries;
  const std::string text = ReadWholeFile(path);
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    const std::string* name = entries.size() < names.size() ? &names[entries.size()] : nullptr;
    size_t comma = line.find(',');
    if (name && line.size() > name->size() &&
        line.compare(line.size() - name->size(), name->size(), *name) == 0 &&
        line[line.size() - name->size() - 1] == ',') {
      comma = line.size() - name->size() - 1;
    }
    if (comma == std::string::npos) comma = line.size();
    entries.push_back({line.substr(0, comma), comma < line.size() ? line.substr(comma + 1) : ""});
  }
  return entries;
}

int IdsCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kAllOption | kCsvOption);
  if (args.operands.size() != 1) throw Failure{"ids needs LOG (see mailzolka --help)"};
  if (args.csv && args.csv->empty()) throw Failure{"--csv needs a file name"};
  host::LogStore log = ReadLog(args.operands[0]);
  cli::AnsweringUser user;
  Run run(std::move(log), args.operands[0], args,
          [&user](const std::vector<std::string>& event) { user.Hear(event); });
  try {
    RunScript(run, "attach\n");
    if (!run.substitute->HasPane()) return Report("the add-in registered no pane");
    ShowIdView(run, args.all);
    // Without --csv the add-in writes into the temporary profile directory, and the lines are read
    // back.
    const std::string target =
        args.csv.value_or((fs::path(run.profile.Path()) / "ids.csv").string());
    std::string failure;
    std::optional<int> count = ExportIds(run, user, target, &failure);
    run.session->Finish();
    if (!count) return Report(failure, kCommandFailed);
    if (args.csv) {
      std::cout << CountOfIds(static_cast<size_t>(*count)) << " written to " << *args.csv << '\n';
      return 0;
    }
    for (const IdEntry& entry :
         ReadExport(target, simdesk::DumpTree(run.substitute->PaneWindow()))) {
      PrintLine({entry.id, entry.name});
    }
  } catch (const host::ScriptInputError& error) {
    return Report(error.what());
  } catch (const simdesk::ScriptError& error) {
    return Report(host::RenderCp932(error.what()));
  }
  return 0;
}

// QOR.INI's values of ID1 to ID99 (empty where there is none), read as the add-in reads them.
std::vector<std::string> ReadRegistry() {
  std::vector<std::string> values;
  for (int number = 1; number <= kRegistryKeys; ++number) {
    char value[kRegistryValueSize] = {};
    const std::string key = "ID" + std::to_string(number);
    simdesk::GetPrivateProfileString("ID", key.c_str(), "", value, sizeof value, kRegistryFile);
    values.emplace_back(value);
  }
  return values;
}

// A registry value's first field: runs of commas are one separator, leading commas are skipped.
std::string RegisteredId(const std::string& value) {
  const size_t start = value.find_first_not_of(',');
  if (start == std::string::npos) return {};
  return value.substr(start, value.find(',', start) - start);
}

bool OffersCommand(const Run& run, int id) {
  for (const simdesk::MenuRow& row : simdesk::ReadMenu(run.substitute->PaneMenu())) {
    if (!row.separator && row.id == id) return true;
  }
  return false;
}

int RegisterCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kAllOption | kProfileDirOption);
  if (args.operands.size() != 1) throw Failure{"register needs LOG (see mailzolka --help)"};
  host::LogStore log = ReadLog(args.operands[0]);
  cli::AnsweringUser user;
  Run run(std::move(log), args.operands[0], args,
          [&user](const std::vector<std::string>& event) { user.Hear(event); });
  const ProfileDirectory scratch(std::nullopt);  // for the export that lists the IDs
  const std::string registry =
      (fs::path(run.profile.Path()) / kRegistryFile).generic_string() +
      (run.profile.IsTemporary() ? " (a temporary directory, not kept)" : "");
  try {
    RunScript(run, "attach\n");
    if (!run.substitute->HasPane()) return Report("the add-in registered no pane");
    if (!OffersCommand(run, kRegisterCommand)) {
      return Report("the add-in offers no ID registration: no readable QOR.DAT beside " +
                        args.addin.value_or(host::DefaultAddinPath()),
                    kCommandFailed);
    }
    ShowIdView(run, args.all);
    const std::string listPath = (fs::path(scratch.Path()) / "ids.csv").string();
    std::string failure;
    if (!ExportIds(run, user, listPath, &failure)) return Report(failure, kCommandFailed);
    const std::vector<IdEntry> ids =
        ReadExport(listPath, simdesk::DumpTree(run.substitute->PaneWindow()));

    // The candidates are the IDs the registry does not hold yet, in ID-list order; the add-in
    // writes them into the free keys in that order, and reports how many found no free key.
    const std::vector<std::string> before = ReadRegistry();
    std::vector<IdEntry> candidates;
    for (const IdEntry& entry : ids) {
      bool known = false;
      for (const std::string& value : before) {
        known = known || (!value.empty() && RegisteredId(value) == entry.id);
      }
      if (!known) candidates.push_back(entry);
    }
    const size_t shown = user.Messages().size();
    RunScript(run, "command 130\n");
    run.session->Finish();
    const std::vector<std::string> after = ReadRegistry();
    const std::vector<std::string> messages(
        user.Messages().begin() + static_cast<std::ptrdiff_t>(shown), user.Messages().end());
    if (messages.empty() || messages.size() > 2) {
      return Report("the add-in's registration ended unexpectedly", kCommandFailed);
    }
    size_t leftOut = 0;
    if (messages.size() == 2) {
      const std::optional<int> count = LeadingCount(
          messages[1], Cp932("件のIDは、QORのID登録が満杯(ID99まで)のため登録できませんでした。"));
      if (!count || *count < 0) return Report(host::RenderCp932(messages[1]), kCommandFailed);
      leftOut = std::min(static_cast<size_t>(*count), candidates.size());
    }

    std::vector<std::vector<std::string>> written;
    for (int number = 1; number <= kRegistryKeys; ++number) {
      if (after[number - 1] != before[number - 1]) {
        written.push_back({"ID" + std::to_string(number), after[number - 1]});
      }
    }
    std::cout << CountOfIds(written.size()) << " registered in " << registry << '\n';
    for (const std::vector<std::string>& key : written) PrintLine(key);
    if (leftOut > 0) {
      std::cout << CountOfIds(leftOut) << " did not fit: " << kRegistryFile << " holds ID1 to ID"
                << kRegistryKeys << " only\n";
      for (size_t i = candidates.size() - leftOut; i < candidates.size(); ++i) {
        PrintLine({candidates[i].id, candidates[i].name});
      }
    }
    // The add-in reports nothing when a profile write fails; a key that did not change shows it.
    const size_t expected = candidates.size() - leftOut;
    if (written.size() < expected) {
      return Report(std::to_string(expected - written.size()) +
                        " of the new entries did not reach " + registry,
                    kCommandFailed);
    }
  } catch (const host::ScriptInputError& error) {
    return Report(error.what());
  } catch (const simdesk::ScriptError& error) {
    return Report(host::RenderCp932(error.what()));
  }
  return 0;
}

}  // namespace

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
  } catch (const std::exception& error) {
    return Report(std::string("internal error: ") + error.what(), 1);
  }
}
