#include "cli/command_support.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>

#include "cli/cleanup.h"
#include "cli/posix_compat.h"
#include "cli/progress_line.h"
#include "cli/utf8.h"
#include "host/cp932_text.h"
#include "host/script.h"
#include "platform/file.h"
#include "platform/desktop.h"

namespace cli {

namespace fs = std::filesystem;

std::string SafeText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    char32_t codePoint = 0;
    const size_t length = DecodeUtf8(text, i, &codePoint);
    // C0 and C1 controls (U+009B is a terminal's CSI), DEL and malformed bytes are shown escaped.
    if (length > 0 && codePoint >= 0x20 && !(codePoint >= 0x7F && codePoint <= 0x9F)) {
      out.append(text, i, length);
      i += length;
      continue;
    }
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    out += escaped;
    ++i;
  }
  return out;
}

int Report(const std::string& message, int status) {
  std::cout.flush();
  const StandardErrorLock held;
  std::cerr << "mailzolka: " << SafeText(message) << '\n';
  return status;
}

void PrintLine(const std::vector<std::string>& fields) {
  std::cout << host::FormatFields(fields) << '\n';
}

void CheckOutput() {
  // The stream keeps no error code: errno still holds the failed write's (checked after every log,
  // so nothing else has failed since).
  std::cout.flush();
  if (std::cout) return;
  const int error = errno;
  std::cout.clear();
  throw Failure{std::string("cannot write standard output") +
                    (error ? std::string(": ") + std::strerror(error) : std::string()),
                kSomeFailed};
}

std::string ReadWholeFile(const std::string& path, const std::string& what, const std::string& shownAs) {
  const std::string name = what + (shownAs.empty() ? path : shownAs);
  std::error_code error;
  if (fs::is_directory(FileSystemPath(path), error)) throw Failure{"cannot read " + name + ": a directory"};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw Failure{"cannot read " + name + ": " + std::strerror(errno)};
  std::string text;
  // Room for the whole file at once where its size is known; a big log is not copied twice.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    if (size > 0) text.reserve(static_cast<size_t>(size));
    std::rewind(file);
  }
  const bool failed = !platform::ReadToEnd(file, text);
  const int readError = errno;
  std::fclose(file);
  if (failed) throw Failure{"cannot read " + name + ": " + std::strerror(readError)};
  return text;
}

std::string ReadScript(const std::string& path) {
  if (path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
  return ReadWholeFile(path, "script ");
}

std::string ScriptName(const std::string& path) { return path == "-" ? "<stdin>" : path; }

ProfileDirectory::ProfileDirectory(const std::optional<std::string>& requested) {
  if (requested) {
    std::error_code error;
    fs::create_directories(FileSystemPath(*requested), error);
    if (error || !fs::is_directory(FileSystemPath(*requested))) {
      std::string reason = error ? error.message() : "not a directory";
      throw Failure{"cannot create profile directory " + *requested + ": " + reason};
    }
    path_ = *requested;
    return;
  }
  std::string pattern = GivenForm(fs::temp_directory_path() / "mailzolka-XXXXXX");
  if (!mkdtemp(pattern.data())) throw Failure{"cannot create a temporary profile directory"};
  path_ = pattern;
  temporary_ = true;
  WatchTemporaryDirectory(path_);
}

ProfileDirectory::~ProfileDirectory() {
  if (!temporary_) return;
  std::error_code ignored;
  fs::remove_all(FileSystemPath(path_), ignored);
  ForgetTemporaryDirectory(path_);
}

std::unique_ptr<host::AddinModule> LoadAddin(const std::optional<std::string>& path) {
  try {
    return std::make_unique<host::AddinModule>(path.value_or(host::DefaultAddinPath()));
  } catch (const std::runtime_error& error) {
    throw Failure{error.what()};
  }
}

namespace {

// A path's own characters (UTF-16 on Windows, bytes elsewhere) as the command line gives them.
#ifdef _WIN32
std::string CommandLineForm(const std::wstring& native) { return host::WideToAnsi(native); }
#else
std::string CommandLineForm(const std::string& native) { return native; }
#endif

}  // namespace

fs::path FileSystemPath(const std::string& given) {
#ifdef _WIN32
  return fs::path(host::AnsiToWide(given));
#else
  return fs::path(given);
#endif
}

std::string GivenForm(const fs::path& path) { return CommandLineForm(path.native()); }

std::string GenericForm(const fs::path& path) {
  return CommandLineForm(path.generic_string<fs::path::value_type>());
}

// The command line is UTF-8 on Linux; korvik.exe gets it in the system's ANSI code page.
std::string HostPath(const std::string& path) {
#ifdef _WIN32
  std::optional<std::string> bytes = host::AnsiToCp932(path);
#else
  std::optional<std::string> bytes = host::Utf8ToCp932(path);
#endif
  if (!bytes) {
    throw Failure{SafeText(path) + ": the add-in takes paths in code page 932, which lacks a character of this one"};
  }
  return *bytes;
}

void RunScript(Run& run, const std::string& script) {
  for (const host::ScriptCommand& command : host::ParseScript(script)) run.session->Run(command);
}

namespace {

// A filter's text, which is matched against the log's characters (unlike a path, which goes to the
// system as given), as UTF-8. Windows' C runtime hands a program its arguments in the system's
// ANSI code page.
std::string TextArgument(const std::string& given) {
#ifdef _WIN32
  return host::AnsiToUtf8(given);
#else
  return given;
#endif
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args, unsigned options) {
  Arguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    // --option=value is --option value.
    std::optional<std::string> attached;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      attached = arg.substr(arg.find('=') + 1);
      arg.resize(arg.find('='));
    }
    auto value = [&]() {
      if (attached) return *attached;
      if (i + 1 >= args.size()) throw Failure{arg + " needs a value"};
      return args[++i];
    };
    auto flag = [&](bool& target) {
      if (attached) throw Failure{arg + " takes no value"};
      target = true;
    };
    const bool filters = options & kFilterOptions;
    bool ignored = false;
    if (arg == "--addin") {
      parsed.addin = value();
    } else if (arg == "--encoding") {
      parsed.encoding = value();
    } else if (arg == "--profile-dir" && (options & kProfileDirOption)) {
      parsed.profileDir = value();
    } else if (arg == "--view" && (options & kViewOption)) {
      parsed.view = value();
    } else if (arg == "--csv" && (options & kCsvOption)) {
      parsed.csv = value();
    } else if (arg == "--csv" && (options & kCsvOutputOption)) {
      flag(parsed.csvOutput);
    } else if (arg == "--sort" && (options & kSortOption)) {
      parsed.sort = value();
    } else if (arg == "--window" && (options & kWindowOption)) {
      flag(parsed.window);
    } else if (arg == "--all" && (options & kWindowOption)) {
      flag(ignored);  // the whole log is the default now
      parsed.window = false;
    } else if (arg == "--tsv" && (options & kTsvOption)) {
      flag(parsed.tsv);
    } else if (arg == "--json" && (options & kJsonOption)) {
      flag(parsed.json);
    } else if (arg == "--show" && (options & kShowOption)) {
      flag(parsed.show);
    } else if (arg == "--from" && filters) {
      parsed.from = TextArgument(value());
    } else if (arg == "--to" && filters) {
      parsed.to = TextArgument(value());
    } else if (arg == "--with" && filters) {
      parsed.with = TextArgument(value());
    } else if (arg == "--subject" && filters) {
      parsed.subject = TextArgument(value());
    } else if (arg == "--since" && filters) {
      parsed.since = value();
    } else if (arg == "--until" && filters) {
      parsed.until = value();
    } else if ((arg == "-i" || arg == "--ignore-case") && filters) {
      flag(parsed.ignoreCase);
    } else if (arg == "--received" && filters) {
      flag(parsed.receivedOnly);
    } else if (arg == "--sent" && filters) {
      flag(parsed.sentOnly);
    } else if (arg == "--") {
      parsed.operands.insert(parsed.operands.end(), args.begin() + static_cast<long>(i) + 1,
                             args.end());
      break;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw Failure{"unknown option " + args[i]};
    } else {
      parsed.operands.push_back(arg);
    }
  }
  const int formats = parsed.tsv + parsed.json + parsed.csvOutput + parsed.show;
  if (formats > 1) throw Failure{"--tsv, --csv, --json and --show do not go together"};
  return parsed;
}

}  // namespace cli
