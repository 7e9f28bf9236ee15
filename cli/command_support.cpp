#include "cli/command_support.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/addin_module.h"
#include "host/cp932_text.h"
#include "host/log_store.h"
#include "host/script.h"
#include "host/session.h"
#include "host/substitute_host.h"
#include "platform/sim/desktop.h"

namespace cli {

namespace fs = std::filesystem;

int Report(const std::string& message, int status) {
  std::cout.flush();
  std::cerr << "mailzolka: " << message << '\n';
  return status;
}

void PrintLine(const std::vector<std::string>& fields) {
  std::cout << host::FormatFields(fields) << '\n';
}

host::LogStore ReadLog(const std::string& path) {
  try {
    return host::LoadLogFile(path);
  } catch (const std::runtime_error& error) {
    throw Failure{error.what()};
  }
}

std::string ReadWholeFile(const std::string& path, const std::string& what) {
  std::error_code error;
  if (fs::is_directory(path, error)) throw Failure{"cannot read " + what + path + ": a directory"};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw Failure{"cannot read " + what + path + ": " + std::strerror(errno)};
  std::string text;
  char chunk[4096];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, count);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) throw Failure{"cannot read " + what + path};
  return text;
}

std::string ReadScript(const std::string& path) {
  if (path == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
  return ReadWholeFile(path, "script ");
}

std::unique_ptr<host::AddinModule> LoadAddin(const std::string& path) {
  try {
    return std::make_unique<host::AddinModule>(path);
  } catch (const std::runtime_error& error) {
    throw Failure{error.what()};
  }
}

std::string ScriptName(const std::string& path) { return path == "-" ? "<stdin>" : path; }

Arguments ParseArguments(const std::vector<std::string>& args, unsigned options) {
  Arguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](const char* option) {
      if (i + 1 >= args.size()) throw Failure{std::string(option) + " needs a value"};
      return args[++i];
    };
    if (arg == "--addin") {
      parsed.addin = value("--addin");
    } else if (arg == "--profile-dir" && (options & kProfileDirOption)) {
      parsed.profileDir = value("--profile-dir");
    } else if (arg == "--view" && (options & kViewOption)) {
      parsed.view = value("--view");
    } else if (arg == "--csv" && (options & kCsvOption)) {
      parsed.csv = value("--csv");
    } else if (arg == "--all" && (options & kAllOption)) {
      parsed.all = true;
    } else if (arg == "--tsv" && (options & kTsvOption)) {
      parsed.tsv = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      throw Failure{"unknown option " + arg};
    } else {
      parsed.operands.push_back(arg);
    }
  }
  return parsed;
}

}  // namespace cli
