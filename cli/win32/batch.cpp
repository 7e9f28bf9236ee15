// korvik batch FILE: many of mailzolka's command lines in one process. Starting a program under
// Wine costs about a second, far more than a session, so the differential fuzzer hands korvik.exe
// its sessions in batches. Each line of FILE is a directory and the arguments of one command line,
// separated by tabs. The command runs in that directory, its standard output, standard error and
// exit status go to the files stdout, stderr and status there, and afterwards everything the
// session left is undone as the end of a process would: its windows destroyed, the add-in
// unloaded (the next session loads it afresh, with the add-in's state new), the queued user
// actions and the profile files returned.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/win32/batch.h"
#include "host/win32/windows_api.h"

namespace korvik {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  return fields;
}

// Points the standard stream `fd` at a new file in the current directory; returns the old one.
int RedirectTo(int fd, const char* name) {
  const int saved = _dup(fd);
  const int file = _open(name, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0644);
  if (file >= 0) {
    _dup2(file, fd);
    _close(file);
  }
  return saved;
}

void Restore(int fd, int saved) {
  if (saved < 0) return;
  _dup2(saved, fd);
  _close(saved);
}

BOOL CALLBACK DestroyLeftWindow(HWND window, LPARAM) {
  DestroyWindow(window);
  return TRUE;
}

int RunOne(const std::vector<std::string>& fields) {
  std::vector<std::string> words = {"korvik"};
  words.insert(words.end(), fields.begin() + 1, fields.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  const int savedOut = RedirectTo(1, "stdout");
  const int savedErr = RedirectTo(2, "stderr");
  const int status = cli::RunMailzolka(static_cast<int>(words.size()), argv.data());
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  Restore(1, savedOut);
  Restore(2, savedErr);
  return status;
}

void EndSession() {
  EnumThreadWindows(GetCurrentThreadId(), DestroyLeftWindow, 0);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  if (HMODULE addin = AddinModule()) {
    ForgetAddinModule();
    FreeLibrary(addin);
  }
  ForgetScriptedUser();
  desktop::Reset();
  scripted::SeatScriptedUser();  // the queue emptied, as the desktop is
  ReturnProfiles();
}

}  // namespace

int BatchCommand(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("usage: korvik batch FILE\n", stderr);
    return 2;
  }
  std::ifstream file(argv[0], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "korvik: cannot read %s\n", argv[0]);
    return 2;
  }
  const std::string start = CurrentDirectory();
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> fields = SplitTabs(line);
    if (fields.empty() || !SetCurrentDirectoryA(fields[0].c_str())) continue;
    const int status = RunOne(fields);
    EndSession();
    if (FILE* out = std::fopen("status", "wb")) {
      std::fprintf(out, "%d\n", status);
      std::fclose(out);
    }
    SetCurrentDirectoryA(start.c_str());
  }
  return 0;
}

}  // namespace korvik
