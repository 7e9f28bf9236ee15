// mailzolka mails and mailzolka show: the mails of the logs one record each, filtered, as text,
// TSV, CSV or JSON Lines; and a mail's lines as the log holds them.
#include <charconv>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/command_support.h"
#include "cli/id_names.h"
#include "cli/json_output.h"
#include "cli/mail_filter.h"
#include "cli/mail_records.h"
#include "cli/shelf.h"
#include "host/cp932_text.h"
#include "platform/desktop.h"

namespace cli {
namespace {

constexpr int kNothingMatched = 1;
const char* const kColumns[] = {"log", "line", "direction", "id", "name", "date", "time", "subject", "size"};

std::string Direction(const MailRecord& mail) { return mail.received ? "received" : "sent"; }

// grep's form: LOG:LINE: date time  ID name  subject. Sent mail has no date: "(sent)" stands there.
std::string TextLine(const std::string& path, const MailRecord& mail) {
  std::string when = "(sent)";
  if (mail.received) {
    when = (mail.date.empty() ? "----------" : mail.date) + " " + (mail.time.empty() ? "-----" : mail.time);
  }
  when.resize(16, ' ');
  return SafeText(path) + ":" + std::to_string(mail.position) + ": " + when + "  " +
         host::RenderCp932(mail.id) + " " + host::RenderCp932(mail.name) + "  " + host::RenderCp932(mail.subject);
}

std::string TsvLine(const std::string& path, const MailRecord& mail) {
  std::string line = SafeText(path) + "\t" + std::to_string(mail.position) + "\t" + Direction(mail);
  for (const std::string* text : {&mail.id, &mail.name, &mail.date, &mail.time, &mail.subject}) {
    line += "\t" + host::RenderCp932(*text);
  }
  return line + "\t" + (mail.size >= 0 ? std::to_string(mail.size) : "");
}

std::string CsvField(const std::string& utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
  std::string quoted = "\"";
  for (char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string CsvLine(const std::string& path, const MailRecord& mail) {
  bool whole = true;
  std::string line = CsvField(SafeText(path)) + "," + std::to_string(mail.position) + "," + Direction(mail);
  for (const std::string* text : {&mail.id, &mail.name, &mail.date, &mail.time, &mail.subject}) {
    line += "," + CsvField(host::DecodeCp932(*text, &whole));
  }
  return line + "," + (mail.size >= 0 ? std::to_string(mail.size) : "");
}

// A mail's lines as show prints them, with their positions (code page 932 texts).
using MailText = std::vector<std::pair<host::LinePosition, std::string>>;

MailText TextOf(host::LogStore& log, const MailRecord& mail, host::LinePosition nextMail) {
  MailText text;
  for (const host::LinePosition line : MailLines(log, mail, nextMail)) text.emplace_back(line, log.Text(line));
  return text;
}

// A mail as show prints it: a head naming it, a blank line, then its lines with their positions.
void PrintMail(const std::string& path, const MailRecord& mail, const MailText& text) {
  std::cout << "mail " << SafeText(path) << ":" << mail.position << "\n"
            << (mail.received ? "From:    " : "To:      ") << host::RenderCp932(mail.id)
            << (mail.name.empty() ? "" : " " + host::RenderCp932(mail.name)) << "\n";
  if (mail.received) {
    std::cout << "Date:    " << (mail.date.empty() ? "-" : mail.date) << " " << mail.time << "\n";
  }
  std::cout << "Subject: " << host::RenderCp932(mail.subject) << "\n";
  if (mail.size >= 0) std::cout << "Size:    " << mail.size << "\n";
  std::cout << "\n";
  for (const auto& [line, bytes] : text) {
    std::string number = std::to_string(line);
    if (number.size() < 6) number.insert(0, 6 - number.size(), ' ');
    std::cout << number << "  " << host::RenderCp932(bytes) << "\n";
  }
}

// The add-in and the temporary profile every mails and show call shares.
struct MailRun {
  explicit MailRun(const Arguments& args) : addin(LoadAddin(args.addin)), profile(std::nullopt) {
    desktop::SetProfileDirectory(profile.Path());
  }
  std::unique_ptr<host::AddinModule> addin;
  ProfileDirectory profile;
  EventSinkScope events{[](const std::vector<std::string>&) {}};
};

// A mail that may match, kept until every log is read: a sent mail's name is its ID's by then.
struct Candidate {
  size_t log;  // index into the LOG operands
  MailRecord mail;
  MailText text;  // --show only
};

}  // namespace

int MailsCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kWindowOption | kTsvOption | kCsvOutputOption | kJsonOption |
                                            kFilterOptions | kShowOption);
  if (args.operands.empty()) throw Failure{"mails needs LOG (see mailzolka mails --help)"};
  const MailFilter filter(args);
  ParseEncoding(args.encoding);
  MailRun setup(args);
  const host::EventOutput none = [](const std::vector<std::string>&) {};

  IdNames names;
  std::vector<Candidate> candidates;
  size_t logIndex = 0;
  const int status = ForEachLog(args, *setup.addin, none, false, [&](const std::string& path, Run& run) {
    while (args.operands[logIndex] != path) ++logIndex;
    const std::vector<MailRecord> mails = ReadMails(run, filter.Views(), !args.window);
    for (size_t i = 0; i < mails.size(); ++i) {
      const MailRecord& mail = mails[i];
      if (mail.received) names.Received(mail.id, mail.name);
      if (!filter.Matches(mail, mail.received)) continue;
      candidates.push_back({logIndex, mail, {}});
      if (args.show) {
        candidates.back().text = TextOf(run.substitute->Log(), mail, i + 1 < mails.size() ? mails[i + 1].position : 0);
      }
    }
  });

  if (args.tsv || args.csvOutput) {
    std::string header;
    for (const char* column : kColumns) header += (header.empty() ? "" : args.tsv ? "\t" : ",") + std::string(column);
    std::cout << header << '\n';
  }
  bool matched = false;
  for (Candidate& candidate : candidates) {
    MailRecord& mail = candidate.mail;
    if (!mail.received) {
      mail.name = names.Of(mail.id);
      if (!filter.Matches(mail)) continue;
    }
    const std::string& path = args.operands[candidate.log];
    if (args.show) {
      if (matched) std::cout << '\n';
      PrintMail(path, mail, candidate.text);
    } else if (args.json) {
      std::cout << MailJson(path, mail) << '\n';
    } else if (args.tsv) {
      std::cout << TsvLine(path, mail) << '\n';
    } else if (args.csvOutput) {
      std::cout << CsvLine(path, mail) << '\n';
    } else {
      std::cout << TextLine(path, mail) << '\n';
    }
    matched = true;
  }
  CheckOutput();
  return status != 0 ? status : matched ? 0 : kNothingMatched;
}

int ShowCommand(const std::vector<std::string>& argv) {
  Arguments args = ParseArguments(argv, kWindowOption);
  if (args.operands.empty()) throw Failure{"show needs LOG:LINE (see mailzolka show --help)"};
  // Each LOG once, in the order first named, with the lines asked of it.
  std::vector<std::string> logs;
  std::map<std::string, std::vector<host::LinePosition>> asked;
  for (const std::string& operand : args.operands) {
    const size_t colon = operand.rfind(':');
    host::LinePosition line = 0;
    const char* digits = colon == std::string::npos ? nullptr : operand.c_str() + colon + 1;
    const char* end = operand.c_str() + operand.size();
    if (!digits || digits == end || std::from_chars(digits, end, line).ptr != end || line < 1 || colon == 0) {
      throw Failure{"show takes LOG:LINE, as mails prints it: not '" + operand + "'"};
    }
    const std::string log = operand.substr(0, colon);
    if (asked.find(log) == asked.end()) logs.push_back(log);
    asked[log].push_back(line);
  }
  ParseEncoding(args.encoding);
  MailRun setup(args);
  const host::EventOutput none = [](const std::vector<std::string>&) {};
  Arguments each = args;
  each.operands = logs;
  IdNames names;
  std::vector<Candidate> found;
  int missing = 0;
  size_t logIndex = 0;
  int status = ForEachLog(each, *setup.addin, none, false, [&](const std::string& path, Run& run) {
    while (logs[logIndex] != path) ++logIndex;
    const std::vector<MailRecord> mails = ReadMails(run, MailViews{}, !args.window);
    for (const MailRecord& mail : mails) {
      if (mail.received) names.Received(mail.id, mail.name);
    }
    for (const host::LinePosition line : asked[path]) {
      size_t i = 0;
      while (i < mails.size() && mails[i].position != line) ++i;
      if (i == mails.size()) {
        Report(path + ":" + std::to_string(line) + ": no mail stands there (see mailzolka mails " + path + ")");
        ++missing;
        continue;
      }
      found.push_back({logIndex, mails[i],
                       TextOf(run.substitute->Log(), mails[i], i + 1 < mails.size() ? mails[i + 1].position : 0)});
    }
  });
  for (Candidate& mail : found) {
    if (!mail.mail.received) mail.mail.name = names.Of(mail.mail.id);
    if (&mail != &found.front()) std::cout << '\n';
    PrintMail(logs[mail.log], mail.mail, mail.text);
  }
  CheckOutput();
  return status != 0 || missing > 0 ? kSomeFailed : 0;
}

}  // namespace cli
