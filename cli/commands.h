// mailzolka's command line, shared by the mailzolka program and the Windows test host.
#pragma once

namespace cli {

// Runs one command line (argv[0] is the program); returns the exit status.
int RunMailzolka(int argc, char** argv);

}  // namespace cli
