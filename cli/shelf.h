// The commands over several logs (list, ids, register): each log in turn in a fresh host with the
// add-in attached, one add-in module and one profile directory for the whole call.
#pragma once
#include <functional>
#include <string>

#include "cli/command_support.h"
#include "cli/log_input.h"

namespace cli {

// For each LOG operand: read it (one that cannot be read is reported and skipped), hold it in a
// fresh host, attach the add-in, call `each`, and detach. Returns 0, or 1 when a log could not be
// read. Standard output is checked after each log; a progress line goes to standard error when it
// is a terminal and the work takes more than a moment, unless `each` writes standard output as it
// goes and that is the same terminal (the listing is the progress then).
int ForEachLog(const Arguments& args, const host::AddinModule& addin, const host::EventOutput& output,
               bool printsAsItGoes, const std::function<void(const std::string& path, Run& run)>& each);

// The profile of a one-shot run: QORMAIL.INI's [SYSTEM] with PREVMODE and ALLDISP (the whole log,
// or the pane's last 10,000 lines).
void WriteSettings(int viewMode, bool wholeLog);

// The by-ID views (2, 4, 5) group the mail of 1000 IDs at most; the mails of further IDs are left
// out. With the tree of `run` holding that many groups, counts the mails left out against the
// in-order views (this switches the pane's view) and says how many on standard error.
void ReportMailsLeftOut(Run& run, const std::string& path, int viewMode);

}  // namespace cli
