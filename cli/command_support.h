// What mailzolka's commands share: the failures and exit statuses, the options, the profile
// directory, and a run of the add-in in the substitute host.
#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/addin_module.h"
#include "host/log_store.h"
#include "host/session.h"
#include "host/substitute_host.h"

namespace cli {

constexpr int kSomeFailed = 1;  // a log could not be read, an export or registration failed
constexpr int kBadInput = 2;

// One line on standard error, and the call ends with `status` (bad input unless said otherwise).
struct Failure {
  std::string message;
  int status = kBadInput;
};

// Writes "mailzolka: MESSAGE" on standard error (after flushing standard output); returns status.
int Report(const std::string& message, int status = kBadInput);
// Text for a message: UTF-8 as it stands, control characters (C0, DEL, C1) and bytes that are no
// well-formed UTF-8 as \xNN.
std::string SafeText(const std::string& text);
void PrintLine(const std::vector<std::string>& fields);
// Throws Failure (status 1) naming the reason when standard output could not be written (a full
// disk): a listing cut short must not end with status 0.
void CheckOutput();

// A file's bytes; the failure names it as `what` ("script ", "log ", or empty) and `shownAs` (the
// path as the user gave it; `path` itself when empty).
std::string ReadWholeFile(const std::string& path, const std::string& what = "",
                          const std::string& shownAs = "");
std::string ReadScript(const std::string& path);
std::string ScriptName(const std::string& path);

// The profile directory: the one asked for (created when missing), or a fresh temporary one that
// goes away with the command, also when a signal ends the program.
class ProfileDirectory {
 public:
  explicit ProfileDirectory(const std::optional<std::string>& requested);
  ~ProfileDirectory();
  ProfileDirectory(const ProfileDirectory&) = delete;
  ProfileDirectory& operator=(const ProfileDirectory&) = delete;
  const std::string& Path() const { return path_; }
  bool IsTemporary() const { return temporary_; }

 private:
  std::string path_;
  bool temporary_ = false;
};

// The options the commands take (--addin and --encoding: all of them); what remains are the
// operands.
struct Arguments {
  std::optional<std::string> profileDir;
  std::optional<std::string> addin;
  std::optional<std::string> view;
  std::optional<std::string> csv;
  std::optional<std::string> sort;
  std::string encoding = "auto";
  bool window = false;  // the pane's last 10,000 lines; --all (the whole log) is the default
  bool tsv = false;
  bool csvOutput = false;  // mails --csv: CSV on standard output
  bool json = false;
  bool show = false;
  // The mail filters.
  std::optional<std::string> from, to, with, subject, since, until;
  bool ignoreCase = false;
  bool receivedOnly = false;
  bool sentOnly = false;
  std::vector<std::string> operands;
};

enum Option : unsigned {
  kProfileDirOption = 1,
  kViewOption = 2,
  kWindowOption = 4,  // --window, and --all kept for old scripts
  kTsvOption = 8,
  kCsvOption = 16,  // --csv FILE
  kJsonOption = 32,
  kSortOption = 64,
  kFilterOptions = 128,
  kCsvOutputOption = 256,  // --csv, no value
  kShowOption = 512,
};

Arguments ParseArguments(const std::vector<std::string>& args, unsigned options);

std::unique_ptr<host::AddinModule> LoadAddin(const std::optional<std::string>& path);

// A path as given on the command line, for the file system library, and back (GenericForm with '/'
// between the names). Windows' C runtime hands a program its paths in the system's ANSI code page,
// which the library does not read them in; elsewhere a path is bytes, as the library takes it.
std::filesystem::path FileSystemPath(const std::string& given);
std::string GivenForm(const std::filesystem::path& path);
std::string GenericForm(const std::filesystem::path& path);

// A path handed to the add-in (the log's name, which becomes the tree's root label; the file the
// export is saved to) as the Japanese host presents it: in code page 932. Throws Failure (bad
// input) when the code page lacks one of its characters.
std::string HostPath(const std::string& path);

// One log in a fresh substitute host on the desktop, with a session to drive it. The profile
// directory and the event sink are the caller's.
struct Run {
  Run(const host::AddinModule& addin, host::LogStore log, const std::string& logPath,
      host::EventOutput output)
      : substitute(std::make_unique<host::SubstituteHost>(
            std::move(log), HostPath(GivenForm(FileSystemPath(logPath).filename())), output)),
        session(std::make_unique<host::Session>(*substitute, addin, output)) {}
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  std::unique_ptr<host::SubstituteHost> substitute;
  std::unique_ptr<host::Session> session;
};

// The desktop's events go to `sink` for the life of this object (the sink may hold references to
// the command's locals).
class EventSinkScope {
 public:
  explicit EventSinkScope(host::EventOutput sink) { desktop::SetEventSink(std::move(sink)); }
  ~EventSinkScope() { desktop::SetEventSink({}); }
  EventSinkScope(const EventSinkScope&) = delete;
  EventSinkScope& operator=(const EventSinkScope&) = delete;
};

// Runs script text (the commands' own, known to be well formed) in the session.
void RunScript(Run& run, const std::string& script);

// The commands.
int SessionCommand(const std::vector<std::string>& argv);
int ListCommand(const std::vector<std::string>& argv);
int IdsCommand(const std::vector<std::string>& argv);
int RegisterCommand(const std::vector<std::string>& argv);
int MailsCommand(const std::vector<std::string>& argv);
int ShowCommand(const std::vector<std::string>& argv);

}  // namespace cli
