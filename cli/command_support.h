// What mailzolka's commands share: the failure that becomes exit status 2, the options, the
// profile directory, and a run of the add-in in the substitute host.
#pragma once
#include <stdlib.h>

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

constexpr int kBadInput = 2;

// Bad input: one line on standard error, exit status 2.
struct Failure {
  std::string message;
};

int Report(const std::string& message, int status = kBadInput);
void PrintLine(const std::vector<std::string>& fields);
host::LogStore ReadLog(const std::string& path);
// A file's bytes; `what` names it in the failure ("script ", or empty).
std::string ReadWholeFile(const std::string& path, const std::string& what = "");
std::string ReadScript(const std::string& path);
std::string ScriptName(const std::string& path);

// The profile directory: the one asked for (created when missing), or a fresh temporary one that
// goes away with the session.
class ProfileDirectory {
 public:
  explicit ProfileDirectory(const std::optional<std::string>& requested) {
    if (requested) {
      std::error_code error;
      std::filesystem::create_directories(*requested, error);
      if (error || !std::filesystem::is_directory(*requested)) {
        std::string reason = error ? error.message() : "not a directory";
        throw Failure{"cannot create profile directory " + *requested + ": " + reason};
      }
      path_ = *requested;
      return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "mailzolka-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw Failure{"cannot create a temporary profile directory"};
    path_ = pattern;
    temporary_ = true;
  }
  ~ProfileDirectory() {
    std::error_code ignored;
    if (temporary_) std::filesystem::remove_all(path_, ignored);
  }
  ProfileDirectory(const ProfileDirectory&) = delete;
  ProfileDirectory& operator=(const ProfileDirectory&) = delete;
  const std::string& Path() const { return path_; }
  bool IsTemporary() const { return temporary_; }

 private:
  std::string path_;
  bool temporary_ = false;
};

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

Arguments ParseArguments(const std::vector<std::string>& args, unsigned options);

std::unique_ptr<host::AddinModule> LoadAddin(const std::string& path);

// Everything a run needs, set up in this order once the log has been read and the script parsed:
// the module is checked before the desktop is touched.
struct Run {
  Run(host::LogStore log, const std::string& logPath, const Arguments& args,
      host::EventOutput output)
      : addin(LoadAddin(args.addin.value_or(host::DefaultAddinPath()))), profile(args.profileDir) {
    simdesk::SetProfileDirectory(profile.Path());
    simdesk::SetEventSink(output);
    substitute = std::make_unique<host::SubstituteHost>(
        std::move(log), std::filesystem::path(logPath).filename().string(), output);
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

// The commands.
int SessionCommand(const std::vector<std::string>& argv);
int ListCommand(const std::vector<std::string>& argv);
int IdsCommand(const std::vector<std::string>& argv);
int RegisterCommand(const std::vector<std::string>& argv);

}  // namespace cli
