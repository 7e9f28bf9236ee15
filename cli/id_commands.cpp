// mailzolka ids and register: view 5 of each log, then the add-in's own export (131) or
// registration (130), with a user who answers every box (AnsweringUser). What they print comes from
// data: the export file the add-in wrote, the tree it built, and QOR.INI before and after; never
// from the texts of its message boxes, which are only passed on when something failed.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/pane_commands.h"
#include "cli/answering_user.h"
#include "cli/command_support.h"
#include "cli/id_names.h"
#include "cli/json_output.h"
#include "cli/mail_records.h"
#include "cli/shelf.h"
#include "host/cp932_text.h"
#include "idexport/field_text.h"
#include "idexport/id_registration.h"
#include "idexport/registry_value.h"
#include "platform/desktop.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr char kSettingsFile[] = "QORMAIL.INI";  // the add-in's module name, as the hosts load it
constexpr size_t kRegistryValueSize = 256;

std::string CountOfIds(size_t count) { return std::to_string(count) + (count == 1 ? " ID" : " IDs"); }

// The lines of an export file, each without its line feed.
std::vector<std::string> ExportLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

struct IdAndName {
  std::string id;
  std::string name;
};

// An export line is the ID, a comma and the name. Names hold commas more often than IDs, so the
// line is split at its first comma; an ID the listing saw only in sent mail is named by itself,
// and a line that is a text, a comma and the same text again is that ID whole ("AB,CD,AB,CD").
IdAndName SplitExportLine(const std::string& line) {
  if (line.size() % 2 == 1) {
    const size_t half = line.size() / 2;
    if (line[half] == ',' && line.compare(0, half, line, half + 1, half) == 0) {
      return {line.substr(0, half), line.substr(0, half)};
    }
  }
  const size_t comma = line.find(',');
  if (comma == std::string::npos) return {line, ""};
  return {line.substr(0, comma), line.substr(comma + 1)};
}

// A file's identity and content, to tell whether the add-in wrote it.
struct FileState {
  bool exists = false;
  struct stat status {};
  std::string content;
};

FileState StateOf(const std::string& path) {
  FileState state;
  if (stat(path.c_str(), &state.status) != 0 || !S_ISREG(state.status.st_mode)) return state;
  state.exists = true;
  try {
    state.content = ReadWholeFile(path);
  } catch (const Failure&) {
    state.exists = false;
  }
  return state;
}

bool SameFile(const FileState& a, const FileState& b) {
  return a.exists == b.exists && a.content == b.content && a.status.st_ino == b.status.st_ino &&
         a.status.st_size == b.status.st_size && a.status.st_mtime == b.status.st_mtime
#ifndef _WIN32
         && a.status.st_mtim.tv_nsec == b.status.st_mtim.tv_nsec
#endif
      ;
}

// The IDs and names of the add-in's ID list as the log holds them, before the export or the
// registration blanks what their files cannot carry: per group of view 5, its mails' ID, and the
// name in its latest received mail (the ID's own where there is none).
std::vector<qor::IdEntry> PartiesAsLogged(Run& run, const std::vector<desktop::TreeRow>& rows) {
  struct NamingMail {
    host::LinePosition position = 0;
    bool received = false;
  };
  std::vector<NamingMail> naming;  // per group: its latest received mail, else its first mail
  const std::vector<ItemKind> kinds = KindsOf(rows, run.substitute->Log());
  for (size_t i = 0; i < rows.size(); ++i) {
    if (kinds[i] == ItemKind::Group) naming.emplace_back();
    if (naming.empty() || (kinds[i] != ItemKind::ReceivedMail && kinds[i] != ItemKind::SentMail)) continue;
    const bool received = kinds[i] == ItemKind::ReceivedMail;
    if (received || naming.back().position == 0) naming.back() = {rows[i].param, received};
  }
  std::vector<qor::IdEntry> parties;
  for (const NamingMail& mail : naming) parties.push_back(PartyOf(run.substitute->Log(), mail.position, mail.received));
  return parties;
}

// View 5 of the log, then the add-in's export of its ID list into `target`. Returns the IDs, each
// with the counts of its group in the tree (groups stand in ID-list order), or throws
// UnreadableLog with what the add-in said when the file was not written. `asLogged`, when given,
// receives the IDs and names as the log holds them (PartiesAsLogged), in the same order.
std::vector<IdSummary> ExportIds(Run& run, AnsweringUser& user, const std::string& path,
                                 const std::string& target, bool nameLog,
                                 std::vector<qor::IdEntry>* asLogged = nullptr) {
  const FileState before = StateOf(target);
  RunScript(run, "attach\nactivate 1\n");
  if (!run.substitute->HasPane()) throw UnreadableLog{path + ": the add-in registered no pane"};
  std::vector<IdSummary> ids;
  const std::vector<desktop::TreeRow> rows = desktop::DumpTree(run.substitute->PaneWindow());
  for (const ItemKind kind : KindsOf(rows, run.substitute->Log())) {
    if (kind == ItemKind::Group) ids.emplace_back();
    if (ids.empty()) continue;
    if (kind == ItemKind::ReceivedMail) ++ids.back().received;
    if (kind == ItemKind::SentMail) ++ids.back().sent;
  }
  if (asLogged) *asLogged = PartiesAsLogged(run, rows);

  const size_t shown = user.Messages().size();
  user.SaveAs(HostPath(target));
  RunScript(run, "command " + std::to_string(qor::kExportCsv) + "\n");
  user.SaveAs("");
  run.session->Finish();
  const FileState after = StateOf(target);
  const std::vector<std::string> lines = ExportLines(after.content);
  const bool whole = after.content.empty() || after.content.back() == '\n';
  if (!after.exists || SameFile(before, after) || lines.size() != ids.size() || !whole) {
    std::string said = user.Messages().size() > shown ? host::RenderCp932(user.Messages().back())
                                                      : "the add-in's export did not write " + target;
    throw UnreadableLog{(nameLog ? path + ": " : std::string()) + said};
  }
  for (size_t i = 0; i < ids.size(); ++i) {
    IdAndName split = SplitExportLine(lines[i]);
    ids[i].id = std::move(split.id);
    ids[i].name = std::move(split.name);
    ids[i].logs = {path};
  }
  return ids;
}

// The IDs of several logs merged, in the order first seen; each named by the one rule (IdNames).
class IdList {
 public:
  void Add(std::vector<IdSummary> found) {
    for (IdSummary& id : found) {
      if (id.received > 0) names_.Received(id.id, id.name);
      auto [at, added] = index_.emplace(id.id, merged_.size());
      if (added) {
        merged_.push_back(std::move(id));
        continue;
      }
      IdSummary& known = merged_[at->second];
      known.received += id.received;
      known.sent += id.sent;
      known.logs.push_back(id.logs.front());
    }
  }
  std::vector<IdSummary> Summaries() const {
    std::vector<IdSummary> named = merged_;
    for (IdSummary& id : named) id.name = names_.Of(id.id);
    return named;
  }

 private:
  std::vector<IdSummary> merged_;
  std::map<std::string, size_t> index_;  // ID -> place in merged_
  IdNames names_;
};

// --sort: most mail first (received and sent together), or by ID or name in byte order; equal
// ones stay in the order first seen.
void SortIds(std::vector<IdSummary>& ids, const std::string& key) {
  if (key == "count") {
    std::stable_sort(ids.begin(), ids.end(), [](const IdSummary& a, const IdSummary& b) {
      return a.received + a.sent > b.received + b.sent;
    });
  } else if (key == "id" || key == "name") {
    const bool byId = key == "id";
    std::stable_sort(ids.begin(), ids.end(), [byId](const IdSummary& a, const IdSummary& b) {
      return byId ? a.id < b.id : a.name < b.name;
    });
  }
}

// "-", or a path that names the file standard output is (/dev/stdout, or the file it was sent to).
bool IsStandardOutput(const std::string& path) {
  if (path == "-") return true;
  struct stat named {}, output {};
  // Windows' C runtime reports no file numbers (every st_ino is 0): there only "-" is standard output.
  return stat(path.c_str(), &named) == 0 && fstat(1, &output) == 0 && named.st_ino != 0 &&
         named.st_dev == output.st_dev && named.st_ino == output.st_ino;
}

// Writes the export to a target that is no regular file, opened as it stands (appending, never
// truncating or replacing it): standard output goes through std::cout, after what it holds.
void WriteInPlace(const std::string& path, const std::string& bytes, bool toStandardOutput) {
  if (toStandardOutput) {
    std::cout << bytes;
    return;
  }
  std::FILE* file = std::fopen(path.c_str(), "ab");
  const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int error = errno;
  if (file && std::fclose(file) != 0 && written) {
    throw Failure{"cannot write " + path + ": " + std::strerror(errno), kSomeFailed};
  }
  if (!written) throw Failure{"cannot write " + path + ": " + std::strerror(error), kSomeFailed};
}

}  // namespace

int IdsCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kWindowOption | kCsvOption | kJsonOption | kSortOption);
  if (args.operands.empty()) throw Failure{"ids needs LOG (see mailzolka ids --help)"};
  if (args.sort && *args.sort != "count" && *args.sort != "id" && *args.sort != "name") {
    throw Failure{"bad --sort '" + *args.sort + "': count, id or name"};
  }
  // --csv - and a target that is no regular file (a device, a pipe, standard output): the add-in
  // exports into the temporary directory, and the bytes are written to the target as it stands.
  bool copyExport = false;
  if (args.csv) {
    if (args.csv->empty()) throw Failure{"--csv needs a file name (or - for standard output)"};
    if (args.operands.size() != 1) throw Failure{"--csv takes one LOG: the add-in exports one log's IDs"};
    if (args.json) throw Failure{"--csv and --json do not go together"};
    if (args.sort) throw Failure{"--csv is the add-in's own export: no --sort"};
    std::error_code error;
    const fs::path csv = FileSystemPath(*args.csv);
    if (fs::is_directory(csv, error)) throw Failure{"--csv " + *args.csv + ": a directory"};
    if (fs::equivalent(csv, FileSystemPath(args.operands[0]), error)) {
      throw Failure{"--csv " + *args.csv + ": that is the log being read"};
    }
    const fs::file_status status = fs::status(csv, error);
    copyExport = (fs::exists(status) && !fs::is_regular_file(status)) || IsStandardOutput(*args.csv) ||
                 *args.csv == "/dev/stdout" || *args.csv == "/dev/stderr";
  }
  ParseEncoding(args.encoding);

  std::unique_ptr<host::AddinModule> addin = LoadAddin(args.addin);
  ProfileDirectory profile(std::nullopt);
  desktop::SetProfileDirectory(profile.Path());
  WriteSettings(qor::kBothById, !args.window);
  AnsweringUser user;
  const host::EventOutput hear = [&user](const std::vector<std::string>& event) { user.Hear(event); };
  const EventSinkScope events(hear);
  // Without --csv the add-in writes into the temporary profile directory, and the lines are read
  // back.
  // Absolute: the save-file dialog may move the current directory (on Windows).
  std::error_code error;
  const std::string target = args.csv && !copyExport ? GivenForm(fs::absolute(FileSystemPath(*args.csv), error))
                                                     : GivenForm(FileSystemPath(profile.Path()) / "ids.csv");

  IdList merged;
  size_t blanked = 0;  // export lines with blanks for what the file cannot carry
  int status = ForEachLog(args, *addin, hear, false, [&](const std::string& path, Run& run) {
    std::vector<qor::IdEntry> asLogged;  // read only for --csv, whose report counts them
    merged.Add(ExportIds(run, user, path, target, args.operands.size() > 1, args.csv ? &asLogged : nullptr));
    blanked += std::count_if(asLogged.begin(), asLogged.end(), [](const qor::IdEntry& party) {
      return qor::ExportedId(party.id, party.name) != party.id || qor::Blanked(party.name) != party.name;
    });
    ReportMailsLeftOut(run, path, qor::kBothById);
  });
  std::vector<IdSummary> ids = merged.Summaries();
  if (args.csv) {
    const bool toStandardOutput = copyExport && IsStandardOutput(*args.csv);
    if (status == 0 && copyExport) WriteInPlace(*args.csv, ReadWholeFile(target), toStandardOutput);
    const std::string blanks = CountOfIds(blanked) + " written with blanks for CR, LF, NUL or a comma in the ID";
    if (status == 0 && !toStandardOutput) {
      std::cout << CountOfIds(ids.size()) << " written to " << SafeText(*args.csv) << '\n';
      if (blanked > 0) std::cout << blanks << '\n';
    } else if (status == 0 && blanked > 0) {
      Report(blanks, 0);  // standard output holds the export itself
    }
  } else {
    SortIds(ids, args.sort.value_or(""));
    for (const IdSummary& summary : ids) {
      if (args.json) {
        std::cout << IdJson(summary) << '\n';
        continue;
      }
      std::cout << host::FormatFields({summary.id, summary.name}) << '\t' << summary.received << '\t'
                << summary.sent;
      for (const std::string& log : summary.logs) std::cout << '\t' << SafeText(log);
      std::cout << '\n';
    }
  }
  CheckOutput();
  return status;
}

namespace {

// QOR.INI's values of ID1 to ID99 (empty where there is none), through the profile functions.
std::vector<std::string> ReadRegistry() {
  std::vector<std::string> values;
  for (int number = 1; number <= qor::kRegistryLastKey; ++number) {
    char value[kRegistryValueSize] = {};
    const std::string key = qor::RegistryKey(number);
    desktop::GetPrivateProfileString(qor::kRegistrySection, key.c_str(), "", value, sizeof value, qor::kRegistryFile);
    values.emplace_back(value);
  }
  return values;
}

std::string RegisteredId(const std::string& value) { return qor::SplitRegistryValue(value).id; }

bool OffersCommand(const Run& run, int id) {
  for (const desktop::MenuRow& row : desktop::ReadMenu(run.substitute->PaneMenu())) {
    if (!row.separator && row.id == id) return true;
  }
  return false;
}

}  // namespace

int RegisterCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kWindowOption | kProfileDirOption);
  if (args.operands.empty()) throw Failure{"register needs LOG (see mailzolka register --help)"};
  ParseEncoding(args.encoding);

  std::unique_ptr<host::AddinModule> addin = LoadAddin(args.addin);
  ProfileDirectory profile(args.profileDir);
  // The add-in's settings go to a scratch directory: registering IDs leaves the user's
  // QORMAIL.INI as it was. The export that lists the IDs is written there too.
  ProfileDirectory scratch(std::nullopt);
  desktop::SetProfileDirectory(profile.Path());
  desktop::SetProfileFileDirectory(kSettingsFile, scratch.Path());
  WriteSettings(qor::kBothById, !args.window);
  const std::string registry = GenericForm(FileSystemPath(profile.Path()) / qor::kRegistryFile) +
                               (profile.IsTemporary() ? " (a temporary directory, not kept)" : "");
  AnsweringUser user;
  const host::EventOutput hear = [&user](const std::vector<std::string>& event) { user.Hear(event); };
  const EventSinkScope events(hear);
  const std::string listPath = GivenForm(FileSystemPath(scratch.Path()) / "ids.csv");

  const std::vector<std::string> before = ReadRegistry();
  // Windows' profile functions do not recognise a UTF-8 byte order mark: to them (and to QOR) the
  // file's first line, and the section it names, are not there.
  if (StateOf(GivenForm(FileSystemPath(profile.Path()) / qor::kRegistryFile)).content.starts_with("\xEF\xBB\xBF")) {
    std::cerr << "mailzolka: warning: " << registry << " begins with a UTF-8 byte order mark, which hides"
              << " its first section from Windows programs (QOR among them)\n";
  }
  IdList ids;
  std::set<std::string> blankedValues;  // registry values of IDs whose line breaks become blanks
  int status = ForEachLog(args, *addin, hear, false, [&](const std::string& path, Run& run) {
    std::vector<qor::IdEntry> asLogged;
    std::vector<IdSummary> exported = ExportIds(run, user, path, listPath, args.operands.size() > 1, &asLogged);
    for (const qor::IdEntry& party : asLogged) {
      if (qor::Blanked(party.id) == party.id && qor::Blanked(party.name) == party.name) continue;
      const qor::IdEntry form = qor::RegistryForm(party);
      blankedValues.insert(form.id + "," + form.name + ",");
    }
    for (IdSummary& id : exported) {
      id.id.erase(0, std::min(id.id.find_first_not_of(" \t\v\f\x1a"), id.id.size()));  // as registered
    }
    ids.Add(std::move(exported));
    if (!OffersCommand(run, qor::kRegisterIds)) {
      throw Failure{"the add-in offers no ID registration: no readable QOR.DAT beside " +
                        args.addin.value_or(host::DefaultAddinPath()),
                    kSomeFailed};
    }
    RunScript(run, "command " + std::to_string(qor::kRegisterIds) + "\n");
    run.session->Finish();
    ReportMailsLeftOut(run, path, qor::kBothById);
  });
  const std::vector<IdSummary> found = ids.Summaries();
  std::map<std::string, bool> seen;
  for (const IdSummary& id : found) seen.emplace(id.id, true);
  desktop::SetProfileFileDirectory(kSettingsFile, "");
  const std::vector<std::string> after = ReadRegistry();

  // The keys that now hold one of this run's candidates: every ID reported is in the file (another
  // program registering at the same time may have written some of them).
  std::vector<std::vector<std::string>> written;
  size_t blanked = 0;
  bool full = true;
  for (int number = 1; number <= qor::kRegistryLastKey; ++number) {
    const std::string& value = after[number - 1];
    const bool ours = !value.empty() && seen.count(RegisteredId(value)) > 0;
    if (value != before[number - 1] && ours) {
      written.push_back({qor::RegistryKey(number), value});
      blanked += blankedValues.count(value);
    }
    full = full && !after[number - 1].empty();
  }
  // The IDs found that the registry does not hold now, as it reads back.
  std::vector<const IdSummary*> missing;
  for (const IdSummary& id : found) {
    bool held = false;
    for (const std::string& value : after) held = held || (!value.empty() && RegisteredId(value) == id.id);
    if (!held) missing.push_back(&id);
  }

  std::cout << CountOfIds(written.size()) << " registered in " << SafeText(registry) << '\n';
  for (const std::vector<std::string>& key : written) PrintLine(key);
  if (blanked > 0) std::cout << CountOfIds(blanked) << " registered with blanks for CR, LF or NUL\n";
  if (!missing.empty()) {
    std::cout << CountOfIds(missing.size())
              << (full ? std::string(" did not fit: ") + qor::kRegistryFile + " holds ID1 to ID" +
                             std::to_string(qor::kRegistryLastKey) + " only"
                       : " not registered")
              << '\n';
    for (const IdSummary* id : missing) PrintLine({id->id, id->name});
  }
  CheckOutput();
  if (!missing.empty() && !full) {
    return Report(CountOfIds(missing.size()) + " could not be registered in " + registry, kSomeFailed);
  }
  return status;
}

}  // namespace cli
