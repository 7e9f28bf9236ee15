#include "cli/shelf.h"

#include <filesystem>
#include <string>
#include <vector>

#include "cli/progress_line.h"
#include "platform/desktop.h"

namespace cli {

void WriteSettings(int viewMode, bool all) {
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"PREVMODE", std::to_string(viewMode)},
                                   {"ALLDISP", all ? "1" : "0"}}) {
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
  for (const std::string& path : args.operands) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    locations.push_back(error ? path : absolute.string());
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

}  // namespace cli
