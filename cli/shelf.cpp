#include "cli/shelf.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "base/pane_commands.h"
#include "cli/json_output.h"
#include "cli/progress_line.h"
#include "platform/desktop.h"

namespace cli {

void WriteSettings(int viewMode, bool wholeLog) {
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"PREVMODE", std::to_string(viewMode)},
                                   {"ALLDISP", wholeLog ? "1" : "0"}}) {
    if (!desktop::WritePrivateProfileString("SYSTEM", key, value.c_str(), "QORMAIL.INI")) {
      throw Failure{"cannot write QORMAIL.INI in " + desktop::ProfileDirectoryOf("QORMAIL.INI")};
    }
  }
}

int ForEachLog(const Arguments& args, const host::AddinModule& addin, const host::EventOutput& output,
               bool printsAsItGoes, const std::function<void(const std::string& path, Run& run)>& each) {
  const Encoding encoding = ParseEncoding(args.encoding);
  int status = 0;
  // Where each log is, fixed now: the add-in's save-file dialog may move the current directory
  // (on Windows) while a log is worked on.
  std::vector<std::string> locations;
  if (std::count(args.operands.begin(), args.operands.end(), "-") > 1) {
    throw Failure{"- (standard input) can be read once only"};
  }
  for (const std::string& path : args.operands) {
    if (path == "-") {
      locations.push_back(path);
      continue;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(FileSystemPath(path), error);
    locations.push_back(error ? path : GivenForm(absolute));
  }
  ProgressLine progress(args.operands.size(), printsAsItGoes);
  for (size_t i = 0; i < args.operands.size(); ++i) {
    const std::string& path = args.operands[i];
    try {
      host::LogStore log = LoadLog(path, locations[i], encoding);
      progress.LogRead(log.HeldCount());
      Run run(addin, std::move(log), path, output);
      each(path, run);
      if (run.substitute->HasPane()) RunScript(run, "detach\n");
    } catch (const UnreadableLog& unreadable) {
      Report(unreadable.message);
      status = kSomeFailed;
    }
    CheckOutput();
    progress.LogDone();
  }
  return status;
}

void ReportMailsLeftOut(Run& run, const std::string& path, int viewMode) {
  constexpr size_t kMostGroups = 1000;
  std::vector<ItemKind> kinds = KindsOf(desktop::DumpTree(run.substitute->PaneWindow()), run.substitute->Log());
  if (static_cast<size_t>(std::count(kinds.begin(), kinds.end(), ItemKind::Group)) < kMostGroups) return;
  long leftOut = 0;
  const bool received = viewMode != qor::kSentById, sent = viewMode != qor::kReceivedById;
  for (const auto& [wanted, view, kind] : {std::tuple{received, qor::kReceivedInOrder, ItemKind::ReceivedMail},
                                           std::tuple{sent, qor::kSentInOrder, ItemKind::SentMail}}) {
    if (!wanted) continue;
    const long grouped = std::count(kinds.begin(), kinds.end(), kind);
    RunScript(run, "command " + std::to_string(qor::ViewCommand(view)) + "\n");
    const std::vector<ItemKind> all = KindsOf(desktop::DumpTree(run.substitute->PaneWindow()), run.substitute->Log());
    leftOut += std::max(0L, static_cast<long>(std::count(all.begin(), all.end(), kind)) - grouped);
  }
  // The next log opens the view asked for again.
  desktop::WritePrivateProfileString("SYSTEM", "PREVMODE", std::to_string(viewMode).c_str(), "QORMAIL.INI");
  if (leftOut > 0) {
    Report(path + ": " + std::to_string(leftOut) + (leftOut == 1 ? " mail" : " mails") +
               " left out: the pane groups the mail of 1000 IDs at most (mailzolka mails lists every mail)",
           0);
  }
}

}  // namespace cli
