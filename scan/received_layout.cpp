#include "scan/received_layout.h"

#include "addin/sjis.h"
#include "res/texts.h"

namespace qor {

bool OpensReceivedBlock(std::string_view line) { return ContainsBytes(line, res::kReadNew); }

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

std::string JoinMailRecord(std::string_view header, std::string_view continuation) {
  std::string joined;
  joined.reserve(header.size() + continuation.size());
  joined.append(header).append(continuation);
  joined.resize(CutAtCharacter(joined, kJoinedTextLimit).size());
  return joined;
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

}  // namespace qor
