// Logs for the fault tests, built in code page 932: received-mail blocks, sent mails and filler,
// and the add-in driven over them in the same process.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/addin_state.h"
#include "fuzz/in_process_addin.h"
#include "host/cp932_text.h"
#include "tests/fault/fault_support.h"

namespace qortest {

inline std::string Sjis(std::string_view utf8) {
  const std::optional<std::string> bytes = host::Utf8ToCp932(utf8);
  EXPECT_TRUE(bytes.has_value()) << utf8;
  return bytes.value_or("");
}

inline std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// A received mail's header line (64 bytes when name and ID fit their fields) and its subject line.
inline std::string ReceivedMail(int number, const std::string& name, const std::string& id, const std::string& subject) {
  const std::string digits = std::to_string(number).substr(0, 4);
  std::string header = std::string(4 - digits.size(), ' ') + digits;  // the number, right-aligned
  header += Padded(name, 18) + Padded(id, 8) + "  26/12/06 20:15";
  return Padded(header, 64) + "\n" + subject + "\n\n\n";
}

// Two lines of greeting to open a log: scanning from the log's first line, the by-ID listings
// never look at its second line (the test for a sent mail cannot move above the first).
inline std::string Greeting() { return Sjis("接続しました。\nようこそ\n"); }

inline std::string ReceivedBlock(const std::string& mails) { return Sjis("＞READ NEW\n") + mails + Sjis("＞\n"); }

inline std::string SentMail(const std::string& recipient, const std::string& subject) {
  return Sjis("＞SMAIL\n本文を入力して下さい（終了は/E）\n宛先：") + recipient + "\n" + Sjis("題名：") + subject + "\n/E\n";
}

// The stored settings: PREVMODE, the view the first activation lists, and ALLDISP.
inline void Settings(const std::string& directory, int view, bool allLines) {
  WriteFile(directory + "/" + qor::ProfileName(), "[SYSTEM]\r\nPREVMODE=" + std::to_string(view) +
                                                      "\r\nALLDISP=" + (allLines ? "1" : "0") + "\r\n");
}

// The character starts of a code page 932 text: true when no character is cut short at its end.
inline bool EndsWithWholeCharacter(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    at += (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC) ? 2 : 1;
  }
  return at == text.size();
}

inline std::vector<std::string> Labels(const std::vector<desktop::TreeRow>& rows, int depth) {
  std::vector<std::string> labels;
  for (const desktop::TreeRow& row : rows) {
    if (row.depth == depth) labels.push_back(row.text);
  }
  return labels;
}

}  // namespace qortest
