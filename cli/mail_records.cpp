#include "cli/mail_records.h"

#include <algorithm>

#include "cli/id_names.h"
#include "cli/json_output.h"
#include "cli/log_input.h"
#include "cli/shelf.h"
#include "platform/desktop.h"
#include "scan/received_layout.h"
#include "scan/sent_layout.h"

namespace cli {
namespace {

constexpr int kPivotYear = 80;  // two-digit years from here on are 19xx
constexpr char kEndMark[] = "/E";

bool Digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) { return std::stoi(std::string(digits)); }

std::string ClockTime(std::string_view hhmm) {
  if (hhmm.size() != 5 || hhmm[2] != ':' || !Digits(hhmm.substr(0, 2)) || !Digits(hhmm.substr(3))) return {};
  if (Number(hhmm.substr(0, 2)) > 23 || Number(hhmm.substr(3)) > 59) return {};
  return std::string(hhmm);
}

std::vector<host::LinePosition> MailPositions(Run& run, ItemKind wanted) {
  std::vector<host::LinePosition> positions;
  const std::vector<desktop::TreeRow> rows = desktop::DumpTree(run.substitute->PaneWindow());
  const std::vector<ItemKind> kinds = KindsOf(rows, run.substitute->Log());
  for (size_t i = 0; i < rows.size(); ++i) {
    if (kinds[i] == wanted) positions.push_back(rows[i].param);
  }
  return positions;
}

// A received mail's record: the header line and the next one; a header on the last line is joined
// with itself, as the listing's cursor cannot move past it.
std::string ReceivedRecord(host::LogStore& log, host::LinePosition header) {
  const std::string headerText = log.Text(header);
  return qor::JoinMailRecord(headerText, log.Text(header < log.LastPosition() ? header + 1 : header));
}

MailRecord ReceivedMail(host::LogStore& log, host::LinePosition header) {
  const host::LinePosition next = header < log.LastPosition() ? header + 1 : header;
  const std::string joined = ReceivedRecord(log, header);
  const qor::ReceivedFields fields = qor::CutReceivedFields(joined);
  const qor::ReceivedDetails details = qor::CutReceivedDetails(joined);
  MailRecord mail;
  mail.position = header;
  mail.id = TrimBlanks(fields.senderId);
  mail.name = TrimBlanks(fields.senderName);
  mail.subject = TrimBlanks(fields.subject);
  mail.date = IsoDate(details.date);
  mail.time = ClockTime(details.time);
  mail.size = qor::ReadMailSize(details.size);
  if (mail.size < 0 && next < log.LastPosition()) mail.size = qor::ReadMailSize(log.Text(next + 1));
  return mail;
}

// The body-prompt line of a sent mail: the line after its send-command line, or the send-command
// line itself where the prompt stood on the first line (nothing above it to test).
host::LinePosition BodyPrompt(host::LogStore& log, host::LinePosition command) {
  if (command < log.LastPosition() && qor::IsBodyPrompt(log.Text(command + 1))) return command + 1;
  return command;
}

MailRecord SentMail(host::LogStore& log, host::LinePosition command) {
  const host::LinePosition prompt = BodyPrompt(log, command);
  const host::LinePosition last = log.LastPosition();
  MailRecord mail;
  mail.position = command;
  mail.received = false;
  mail.id = TrimBlanks(PartyOf(log, command, false).id);
  mail.subject = TrimBlanks(qor::Subject(log.Text(std::min(prompt + 2, last))));
  return mail;
}

}  // namespace

qor::IdEntry PartyOf(host::LogStore& log, host::LinePosition position, bool received) {
  if (received) {
    const std::string joined = ReceivedRecord(log, position);
    const qor::ReceivedFields fields = qor::CutReceivedFields(joined);
    return {std::string(fields.senderId), std::string(fields.senderName)};
  }
  const host::LinePosition recipientLine = std::min(BodyPrompt(log, position) + 1, log.LastPosition());
  const std::string id(qor::RecipientId(log.Text(recipientLine)));
  return {id, id};
}

std::string IsoDate(std::string_view date) {
  if (date.size() != 8 || date[2] != '/' || date[5] != '/') return {};
  const std::string_view yy = date.substr(0, 2), mm = date.substr(3, 2), dd = date.substr(6, 2);
  if (!Digits(yy) || !Digits(mm) || !Digits(dd)) return {};
  const int month = Number(mm), day = Number(dd);
  if (month < 1 || month > 12 || day < 1 || day > 31) return {};
  return (Number(yy) >= kPivotYear ? "19" : "20") + std::string(yy) + "-" + std::string(mm) + "-" +
         std::string(dd);
}

std::vector<MailRecord> ReadMails(Run& run, MailViews views, bool wholeLog) {
  std::vector<host::LinePosition> received, sent;
  // The first activation opens view 1, or view 3 when only sent mail is asked for.
  WriteSettings(views.received ? 1 : 3, wholeLog);
  RunScript(run, "attach\nactivate 1\n");
  if (!run.substitute->HasPane()) throw UnreadableLog{"the add-in registered no pane"};
  if (views.received) received = MailPositions(run, ItemKind::ReceivedMail);
  if (views.sent) {
    if (views.received) RunScript(run, "command 103\n");
    sent = MailPositions(run, ItemKind::SentMail);
  }
  host::LogStore& log = run.substitute->Log();
  std::vector<MailRecord> mails;
  mails.reserve(received.size() + sent.size());
  size_t r = 0, s = 0;
  while (r < received.size() || s < sent.size()) {
    if (s == sent.size() || (r < received.size() && received[r] < sent[s])) {
      mails.push_back(ReceivedMail(log, received[r++]));
    } else {
      mails.push_back(SentMail(log, sent[s++]));
    }
  }
  return mails;
}

std::vector<host::LinePosition> MailLines(host::LogStore& log, const MailRecord& mail,
                                          host::LinePosition nextMail) {
  const host::LinePosition last = nextMail > 0 ? nextMail - 1 : log.LastPosition();
  std::vector<host::LinePosition> lines;
  if (mail.received) {
    lines.push_back(mail.position);
    for (host::LinePosition at = mail.position + 1; at <= last; ++at) {
      if (at > mail.position + 1 && qor::ClosesReceivedBlock(log.Text(at))) break;
      lines.push_back(at);
    }
    return lines;
  }
  const host::LinePosition prompt = BodyPrompt(log, mail.position);
  for (host::LinePosition at = prompt + 1; at <= last; ++at) {
    const std::string_view text = log.Text(at);
    // The service's prompt ends a mail whose end mark is missing.
    if (at > prompt + 2 && qor::ClosesReceivedBlock(text)) break;
    lines.push_back(at);
    if (at > prompt + 2 && text.rfind(kEndMark, 0) == 0) break;
  }
  return lines;
}

}  // namespace cli
