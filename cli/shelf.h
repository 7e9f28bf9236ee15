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

// The profile of a one-shot run: QORMAIL.INI's [SYSTEM] with PREVMODE and ALLDISP.
void WriteSettings(int viewMode, bool all);

}  // namespace cli
