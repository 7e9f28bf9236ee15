// Temporary directories that go away also when a signal ends the program (SIGINT, SIGTERM,
// SIGPIPE, SIGHUP, SIGQUIT, SIGXFSZ; for example `mailzolka list LOG | head -1`): the handler
// empties and removes every directory still watched, then lets the signal end the program as it
// would have.
#pragma once
#include <string>

namespace cli {

void InstallCleanupHandlers();
void WatchTemporaryDirectory(const std::string& path);
void ForgetTemporaryDirectory(const std::string& path);

}  // namespace cli
