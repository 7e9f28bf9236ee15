// Another program that holds something while the add-in runs (tests/wine/windows_files.py):
//
//     wine holder.exe file PATH    opens PATH for reading, sharing read, write and delete
//     wine holder.exe event NAME   makes an event object of that name
//
// It prints "held" once it holds it and lets go when its standard input ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HANDLE held = nullptr;
  if (std::strcmp(argv[1], "file") == 0) {
    // Sharing everything: only an open that shares nothing itself is refused.
    held = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) held = nullptr;
  } else if (std::strcmp(argv[1], "event") == 0) {
    held = CreateEventA(nullptr, FALSE, FALSE, argv[2]);
  }
  if (!held) {
    std::fprintf(stderr, "holder: cannot hold %s (error %lu)\n", argv[2], GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  char buffer[64];
  DWORD got = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got > 0) {
  }
  CloseHandle(held);
  return 0;
}
