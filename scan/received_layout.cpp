#include "scan/received_layout.h"

#include "base/sjis.h"
#include "res/texts.h"

namespace qor {

// Looked for by its ASCII part, then the two bytes of "＞" before it: the first of those is the lead
// byte of most Japanese punctuation, and a search that starts from it stops at nearly every one.
// Every line of a scan goes through this test.
bool OpensReceivedBlock(std::string_view line) {
  constexpr std::string_view readNew = res::kReadNew;
  constexpr std::size_t kMarkBytes = 2;
  constexpr std::string_view mark = readNew.substr(0, kMarkBytes), words = readNew.substr(kMarkBytes);
  for (std::size_t at = line.find(words, kMarkBytes); at != std::string_view::npos; at = line.find(words, at + 1)) {
    if (line.substr(at - kMarkBytes, kMarkBytes) == mark) return true;
  }
  return false;
}

bool ClosesReceivedBlock(std::string_view line) {
  return line.substr(0, 2) == res::kPromptMark || ContainsBytes(line, res::kMailFolder);
}

int ReadMailNumber(std::string_view line) {
  const std::string_view field = line.substr(0, 4);
  std::size_t at = 0;
  while (at < field.size() && field[at] == ' ') ++at;
  int sign = 1;
  if (at < field.size() && (field[at] == '+' || field[at] == '-')) {
    sign = field[at] == '-' ? -1 : 1;
    ++at;
  }
  int value = 0;
  for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) value = value * 10 + (field[at] - '0');
  return sign * value;
}

bool IsMailHeader(std::string_view line) {
  return ContainsBytes(line, ":") && ContainsBytes(line, "/") && ReadMailNumber(line) != 0 &&
         !ContainsBytes(line, res::kNotice);
}

void CompleteMailRecord(std::string& record, std::string_view continuation) {
  record.append(continuation);
  record.resize(CutAtCharacter(record, kJoinedTextLimit).size());
}

namespace {
std::string_view Field(std::string_view joined, std::size_t offset, std::size_t width) {
  return offset < joined.size() ? joined.substr(offset, width) : std::string_view();
}
}  // namespace

ReceivedFields CutReceivedFields(std::string_view joined) {
  return {Field(joined, 4, std::string_view::npos), Field(joined, 4, 14), Field(joined, 22, 8),
          Field(joined, 64, std::string_view::npos)};
}

ReceivedDetails CutReceivedDetails(std::string_view joined) {
  return {Field(joined, 32, 8), Field(joined, 41, 5), Field(joined, 46, 18)};
}

long ReadMailSize(std::string_view text) {
  constexpr std::string_view kBytesWord = "\x83\x6F\x83\x43\x83\x67)";  // "バイト)"
  const std::size_t start = text.find_first_not_of(' ');
  const std::size_t end = text.find_last_not_of(' ');
  if (start == std::string_view::npos) return -1;
  text = text.substr(start, end - start + 1);
  if (text.size() < 2 + kBytesWord.size() || text.front() != '(' ||
      text.substr(text.size() - kBytesWord.size()) != kBytesWord) {
    return -1;
  }
  const std::string_view digits = text.substr(1, text.size() - 1 - kBytesWord.size());
  if (digits.size() > 12) return -1;
  long value = 0;
  for (char digit : digits) {
    if (digit < '0' || digit > '9') return -1;
    value = value * 10 + (digit - '0');
  }
  return value;
}

}  // namespace qor
