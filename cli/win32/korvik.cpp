// korvik.exe: the Windows test host. "korvik open LOG" opens the host's window with the add-in's
// pane for a person to use; every other command is mailzolka's (session, list, mails, show, ids,
// register, help), run on real windows with the same scripts, output and exit status. Its own
// commands take names that mailzolka's commands do not use.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/win32/batch.h"
#include "host/win32/interactive.h"
#include "host/win32/windows_api.h"

namespace {

constexpr char kUsage[] =
    "usage: korvik open [--addin PATH] [--profile-dir DIR] [--command ID]... [--answer LINE]... LOG\n"
    "       korvik session|list|mails|show|ids|register|help ...   (mailzolka's commands, on real windows)\n"
    "       korvik batch FILE   (many of those, one a line: DIRECTORY<tab>ARGUMENTS...)\n"
    "       korvik windows [--addin PATH] LOG   (the pane's and the About box's windows, for a test)\n";

}  // namespace

int main(int argc, char** argv) {
  // The output is mailzolka's byte for byte: UTF-8 lines ending in LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (std::strcmp(argv[1], "open") == 0) return korvik::ShowCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "batch") == 0) return korvik::BatchCommand(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "windows") == 0) return korvik::WindowsCommand(argc - 2, argv + 2);
  const int status = cli::RunMailzolka(argc, argv);
  korvik::ReturnProfiles();
  return status;
}
