#include "bench/synthetic_log.h"

#include <cstdio>

#include "res/texts.h"

namespace bench {

namespace {

// A small deterministic generator, so that every run sees the same log.
struct Random {
  unsigned long long state = 88172645463325252ull;
  unsigned Next(unsigned bound) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return static_cast<unsigned>(state % bound);
  }
};

// "山田" "佐藤" "鈴木" "高橋" as names, padded to the 14-byte name field.
const char* const kNames[] = {"\x8E\x52\x93\x63", "\x8D\xB2\x93\xA1", "\x97\xE9\x96\xD8", "\x8D\x82\x8B\xB4"};
const char kChatter[] = "#123 \x8F\x91\x82\xAB\x8D\x9E\x82\xDD: \x8D\xA1\x93\xFA\x82\xCD\x8A\xA6\x82\xA2\x82\xC5\x82\xB7\x82\xCB\x81\x42";
const char kSubject[] = "\x89\xEF\x8B\x63\x82\xCC\x8C\x8F";  // 会議の件
const char kBodyPrompt[] = "\x96\x7B\x95\xB6\x82\xF0\x93\xFC\x97\xCD (/E\x82\xC5\x8F\x49\x97\xB9)";
const char kRecipient[] = "\x88\xB6\x90\xE6\x81\x46";  // 宛先：
const char kSubjectLabel[] = "\x91\xE8\x96\xBC\x81\x46";  // 題名：

std::string Member(unsigned index) {
  char id[16];
  std::snprintf(id, sizeof id, "M%07u", index);
  return id;
}

}  // namespace

std::string MakeSessionLog(std::size_t lines, std::size_t members) {
  Random random;
  std::string log;
  log.reserve(lines * 48);
  std::size_t count = 0;
  auto line = [&](const std::string& text) {
    log += text;
    log += "\r\n";
    ++count;
  };
  while (count < lines) {
    const unsigned chatter = 20 + random.Next(200);
    for (unsigned i = 0; i < chatter && count < lines; ++i) line(kChatter);
    switch (random.Next(3)) {
      case 0: {  // a received-mail listing of a few mails, four lines each
        line(res::kReadNew);
        const unsigned mails = 1 + random.Next(8);
        for (unsigned m = 0; m < mails; ++m) {
          std::string header = "   " + std::to_string(1 + m % 9);
          std::string name = kNames[random.Next(4)];
          header += name + std::string(14 - name.size(), ' ') + "    " + Member(random.Next(members)) +
                    "  26/12/07 12:34";
          header.resize(64, ' ');
          line(header);
          line(std::string(kSubject) + " " + std::to_string(m));
          line("     (1234 bytes)");
          line("");
        }
        line(res::kMailFolder + std::string("0)"));
        break;
      }
      case 1:  // a sent mail
        line(res::kSendCommand);
        line(kBodyPrompt);
        line(kRecipient + Member(random.Next(members)));
        line(kSubjectLabel + std::string(kSubject));
        line("/E");
        break;
      default:
        line(res::kPromptMark);
        break;
    }
  }
  return log;
}

}  // namespace bench
