// korvik open: the host's window for a person, with the add-in's pane beside the log view.
#pragma once

namespace korvik {

// Arguments after "open"; returns the exit status.
int ShowCommand(int argc, char** argv);

}  // namespace korvik
