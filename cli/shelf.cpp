#include "cli/shelf.h"

#include <string>

#include "cli/progress_line.h"
#include "platform/sim/desktop.h"

namespace cli {

void WriteSettings(int viewMode, bool all) {
  for (const auto& [key, value] : {std::pair<const char*, std::string>{"PREVMODE", std::to_string(viewMode)},
                                   {"ALLDISP", all ? "1" : "0"}}) {
    if (!simdesk::WritePrivateProfileString("SYSTEM", key, value.c_str(), "QORMAIL.INI")) {
      throw Failure{"cannot write QORMAIL.INI in " + simdesk::ProfileDirectoryOf("QORMAIL.INI")};
    }
  }
}

int ForEachLog(const Arguments& args, const host::AddinModule& addin, const host::EventOutput& output,
               bool printsAsItGoes, const std::function<void(const std::string& path, Run& run)>& each) {
  const Encoding encoding = ParseEncoding(args.encoding);
  int status = 0;
  ProgressLine progress(args.operands.size(), printsAsItGoes);
  for (const std::string& path : args.operands) {
    try {
      host::LogStore log = LoadLog(path, encoding);
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
