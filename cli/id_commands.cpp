// mailzolka ids and register: view 5, then the add-in's own export (131) or registration (130),
// with a user who answers every box (AnsweringUser).
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
#include "host/addin_module.h"
#include "host/cp932_text.h"
#include "host/log_store.h"
#include "host/script.h"
#include "host/session.h"
#include "host/substitute_host.h"
#include "platform/sim/desktop.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

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

}  // namespace

int IdsCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kAllOption | kCsvOption);
  if (args.operands.size() != 1) throw Failure{"ids needs LOG (see mailzolka --help)"};
  if (args.csv && args.csv->empty()) throw Failure{"--csv needs a file name"};
  host::LogStore log = ReadLog(args.operands[0]);
  cli::AnsweringUser user;
  Run run(std::move(log), args.operands[0], args,
          [&user](const std::vector<std::string>& event) { user.Hear(event); });
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
  return 0;
}

namespace {

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

// The ID that reads back once the add-in writes "id,name,": the value keeps to its line, loses
// its blanks at either end and is read up to 255 bytes (as the add-in compares it).
std::string StoredId(const IdEntry& entry) {
  std::string value = entry.id + "," + entry.name + ",";
  value.resize(std::min(value.find_first_of(std::string("\0\r\n", 3)), value.size()));
  const char* const blanks = " \t\v\f\x1a";
  value.erase(0, std::min(value.find_first_not_of(blanks), value.size()));
  value.erase(value.find_last_not_of(blanks) + 1);
  value.resize(std::min(value.size(), kRegistryValueSize - 1));
  return RegisteredId(value);
}

bool HoldsId(const std::vector<std::string>& values, const std::string& id) {
  return std::any_of(values.begin(), values.end(),
                     [&id](const std::string& value) { return !value.empty() && RegisteredId(value) == id; });
}

bool OffersCommand(const Run& run, int id) {
  for (const simdesk::MenuRow& row : simdesk::ReadMenu(run.substitute->PaneMenu())) {
    if (!row.separator && row.id == id) return true;
  }
  return false;
}

}  // namespace

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

  // The candidates are the IDs the registry does not hold yet, compared as they would read back,
  // in ID-list order; the add-in writes them into the free keys in that order and reports with
  // their counts those that found no free key and those it could not write.
  const std::vector<std::string> before = ReadRegistry();
  std::vector<IdEntry> candidates;
  std::vector<std::string> offered;
  for (const IdEntry& entry : ids) {
    const std::string stored = StoredId(entry);
    if (HoldsId(before, stored) || std::find(offered.begin(), offered.end(), stored) != offered.end()) continue;
    offered.push_back(stored);
    candidates.push_back(entry);
  }
  const size_t shown = user.Messages().size();
  RunScript(run, "command 130\n");
  run.session->Finish();
  const std::vector<std::string> after = ReadRegistry();
  const std::vector<std::string> messages(
      user.Messages().begin() + static_cast<std::ptrdiff_t>(shown), user.Messages().end());
  if (messages.empty() || messages.size() > 3) {
    return Report("the add-in's registration ended unexpectedly", kCommandFailed);
  }
  size_t noFreeKey = 0, notWritten = 0;
  for (size_t i = 1; i < messages.size(); ++i) {
    const std::optional<int> full = LeadingCount(
        messages[i], Cp932("件のIDは、QORのID登録が満杯(ID99まで)のため登録できませんでした。"));
    const std::optional<int> failed = LeadingCount(messages[i], Cp932("件のIDはQOR.INIに書き込めませんでした。"));
    if ((!full || *full < 0) && (!failed || *failed < 0)) return Report(host::RenderCp932(messages[i]), kCommandFailed);
    (full ? noFreeKey : notWritten) += static_cast<size_t>(full ? *full : *failed);
  }

  // The keys that now hold one of this run's candidates: every ID reported is in the file (another
  // program registering at the same time may have written some of them).
  std::vector<std::vector<std::string>> written;
  for (int number = 1; number <= kRegistryKeys; ++number) {
    const std::string& value = after[number - 1];
    const bool ours = std::any_of(candidates.begin(), candidates.end(),
                                  [&value](const IdEntry& entry) { return RegisteredId(value) == entry.id; });
    if (value != before[number - 1] && ours) written.push_back({"ID" + std::to_string(number), value});
  }
  std::vector<IdEntry> missing;
  for (const IdEntry& entry : candidates) {
    if (!HoldsId(after, entry.id)) missing.push_back(entry);
  }
  std::cout << CountOfIds(written.size()) << " registered in " << registry << '\n';
  for (const std::vector<std::string>& key : written) PrintLine(key);
  if (noFreeKey + notWritten > 0) {
    if (notWritten == 0) {
      std::cout << CountOfIds(noFreeKey) << " did not fit: " << kRegistryFile << " holds ID1 to ID"
                << kRegistryKeys << " only\n";
    } else {
      std::cout << CountOfIds(noFreeKey + notWritten) << " not written: " << noFreeKey << " found no free key, "
                << notWritten << " cannot be stored to read back whole or failed to write\n";
    }
    for (const IdEntry& entry : missing) PrintLine({entry.id, entry.name});
  }
  // The add-in names how many it did not write; a candidate missing beyond those shows a fault.
  if (missing.size() > noFreeKey + notWritten) {
    return Report(std::to_string(missing.size() - noFreeKey - notWritten) +
                      " of the new entries did not reach " + registry,
                  kCommandFailed);
  }
  return 0;
}

}  // namespace cli
