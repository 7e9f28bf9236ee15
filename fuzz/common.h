// Helpers shared by the fuzz targets: a private profile directory for the process, and checks that
// stop the run with a message the way a sanitizer finding does.
#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace qorfuzz {

// A directory of the process's own, removed when the process exits normally.
inline const std::string& ScratchDirectory() {
  static const std::string directory = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "qorfuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    return pattern;
  }();
  static const bool cleanup = [] {
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(directory, ignored);
    });
    return true;
  }();
  (void)cleanup;
  return directory;
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::perror(path.c_str());
    std::abort();
  }
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// The whole file, or nothing when it cannot be opened (the fault tests read files this way too).
inline std::string ReadFile(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  platform::ReadToEnd(file, bytes);
  std::fclose(file);
  return bytes;
}

// A broken invariant: report it and abort, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "\n*** invariant broken: %s\n", what);
  if (!detail.empty()) std::fprintf(stderr, "%s\n", detail.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Check(bool condition, const char* what, const std::string& detail = {}) {
  if (!condition) Fail(what, detail);
}

// Bytes as C-style escapes, for the messages above.
inline std::string Escaped(std::string_view bytes) {
  std::string out;
  for (const unsigned char byte : bytes) {
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out += static_cast<char>(byte);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

}  // namespace qorfuzz
