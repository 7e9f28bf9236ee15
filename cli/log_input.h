// Reading a log for the host: the file's bytes, converted to code page 932 when the log was saved
// as UTF-8, so that the add-in sees the bytes the terminal wrote.
#pragma once
#include <string>

#include "host/log_store.h"

namespace cli {

enum class Encoding { Auto, Cp932, Utf8 };

// "auto", "cp932" or "utf-8"; throws Failure for anything else.
Encoding ParseEncoding(const std::string& name);

// A log that cannot be read (missing, a directory, a read error): the message names it. The
// commands over several logs report it and go on with the next.
struct UnreadableLog {
  std::string message;
};

// `location` "-" is standard input. gzip and xz logs are decompressed first (compressed_log.h).
// Throws UnreadableLog, or Failure when the log does not fit into memory. A character of a UTF-8
// log that code page 932 lacks becomes "・"; the first one is reported on standard error with its
// line number (and how many more there were).
// `path` names the log in messages; `location` is where it is read from (`path` made absolute
// before anything runs: the save-file dialog may move the current directory on Windows).
host::LogStore LoadLog(const std::string& path, const std::string& location, Encoding encoding);

// Exposed for the tests: UTF-8 (a leading byte order mark dropped) to code page 932, each
// character without a code page 932 form (and each byte that is no UTF-8) replaced by "・".
// `firstMissingLine` and `firstMissing` get the first one's line (from 1) and what it was,
// `missing` their count.
std::string Utf8LogToCp932(const std::string& utf8, long* firstMissingLine, std::string* firstMissing,
                           long* missing);
bool LooksLikeUtf8(const std::string& bytes);
// How far bytes are UTF-8: `stop` the first byte that is none (npos: all of them), `line` its line
// (from 1), `beyondAscii` whether a character beyond ASCII came before.
struct Utf8Extent {
  size_t stop = std::string::npos;
  long line = 1;
  bool beyondAscii = false;
};
Utf8Extent MeasureUtf8(const std::string& bytes);

}  // namespace cli
