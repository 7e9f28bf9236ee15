// Puts the profile functions through the work read from standard input and prints what they did,
// the same program built for the simulated desktop (Linux build) and for Windows (run under Wine).
// tests/wine/profile_differential.py sends both the same random work and compares the output.
// One command a line; texts in hex, "_" for the empty text:
//
//     file PATH               the profile file of the commands that follow (a full path)
//     put HEX | put -         the file's content from now, or no file
//     get SECTION KEY DEFAULT SIZE    -> "get COUNT BUFFER" (the whole buffer, zeroed before)
//     int SECTION KEY DEFAULT -> "int N"
//     set SECTION KEY VALUE   -> "set 1" or "set 0"
//     show                    -> "show HEX" or "show -"
//     normal                  (Windows only) the file written anew by the real functions: a key
//                             written into a section of its own, then that section deleted
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tests/wine/probe_hex.h"

#ifdef _WIN32
#include "platform/win32/win32.h"  // windows.h without its profile macros
#endif

namespace {

std::string Hex(const std::string& bytes) { return HexBytes(bytes, "_"); }

std::string Bytes(const std::string& hex) {
  std::string bytes;
  if (hex == "_") return bytes;
  for (std::size_t at = 0; at + 1 < hex.size(); at += 2) bytes += static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16));
  return bytes;
}

bool ReadFile(const std::string& path, std::string& content) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char chunk[4096];
  content.clear();
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) content.append(chunk, got);
  std::fclose(file);
  return true;
}

void WriteFile(const std::string& path, const std::string& content) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  std::fwrite(content.data(), 1, content.size(), file);
  std::fclose(file);
}

}  // namespace

int main() {
  std::string path;
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    if (command == "file" && args.size() == 1) {
      path = args[0];
    } else if (command == "put" && args.size() == 1) {
      std::remove(path.c_str());
      if (args[0] != "-") WriteFile(path, Bytes(args[0]));
    } else if (command == "get" && args.size() == 4) {
      std::string buffer(std::stoul(args[3]), '\0');
      const std::size_t count = platform::GetProfileString(Bytes(args[0]).c_str(), Bytes(args[1]).c_str(),
                                                           Bytes(args[2]).c_str(), buffer.data(), buffer.size(),
                                                           path.c_str());
      std::printf("get %zu %s\n", count, Hex(buffer).c_str());
    } else if (command == "int" && args.size() == 3) {
      std::printf("int %d\n", platform::GetProfileInt(Bytes(args[0]).c_str(), Bytes(args[1]).c_str(),
                                                      std::stoi(Bytes(args[2])), path.c_str()));
    } else if (command == "set" && args.size() == 3) {
      const bool written = platform::WriteProfileString(Bytes(args[0]).c_str(), Bytes(args[1]).c_str(),
                                                        Bytes(args[2]).c_str(), path.c_str());
      std::printf("set %d\n", written ? 1 : 0);
    } else if (command == "show") {
      std::string content;
      std::printf("show %s\n", ReadFile(path, content) ? Hex(content).c_str() : "-");
#ifdef _WIN32
    } else if (command == "normal") {
      WritePrivateProfileStringA("~probe~", "k", "v", path.c_str());
      WritePrivateProfileStringA("~probe~", nullptr, nullptr, path.c_str());
#endif
    } else {
      std::fprintf(stderr, "profile_probe: cannot do: %s\n", line.c_str());
      return 2;
    }
    std::fflush(stdout);
  }
  return 0;
}
