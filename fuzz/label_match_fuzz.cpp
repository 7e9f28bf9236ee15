// The search match over arbitrary labels and search texts, with the character-wise helpers it rests
// on, each against a plain model that walks the label one character (lead and trail byte) at a
// time.
//
// Input: byte 0 the search text's length (mod the rest), byte 1 a cut limit; then the search text,
// then the label.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/sjis.h"
#include "fuzz/common.h"
#include "search/label_match.h"

namespace {

bool Lead(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}

// Where the characters of text start: a lead byte takes the byte after it, when there is one.
std::vector<std::size_t> CharacterStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < text.size(); at += Lead(text[at]) && at + 1 < text.size() ? 2 : 1) starts.push_back(at);
  return starts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t textSize = input.empty() ? 0 : data[0] % (input.size() + 1);
  const std::string_view text = input.substr(0, textSize);
  const std::string_view label = input.substr(textSize);
  const std::vector<std::size_t> starts = CharacterStarts(label);

  // The match: some character of the label starts the whole text; an empty text matches every
  // label that is not empty.
  bool expected = false;
  for (const std::size_t at : starts) expected = expected || label.substr(at).starts_with(text);
  const std::string detail = "label " + qorfuzz::Escaped(label) + "\ntext " + qorfuzz::Escaped(text);
  qorfuzz::Check(qor::LabelContains(label, text) == expected, "the label match is wrong", detail);
  if (expected) qorfuzz::Check(qor::ContainsBytes(label, text), "a character-wise match is no byte-wise match", detail);

  // The last single-byte character equal to a byte, never a trail byte.
  const char wanted = text.empty() ? ',' : text.front();
  std::size_t last = std::string_view::npos;
  for (const std::size_t at : starts) {
    if (label[at] == wanted) last = at;
  }
  qorfuzz::Check(qor::FindLastCharacter(label, wanted) == last, "the last character is found wrongly", detail);

  // The longest prefix within the limit that ends between two characters.
  const std::size_t limit = data[1];
  std::size_t end = label.size() <= limit ? label.size() : 0;
  if (label.size() > limit) {
    for (const std::size_t at : starts) {
      if (at <= limit) end = at;
    }
  }
  const std::string_view cut = qor::CutAtCharacter(label, limit);
  qorfuzz::Check(cut.data() == label.data() && cut.size() == end, "the cut is not the longest whole-character prefix",
                 detail + "\nlimit " + std::to_string(limit) + " cut " + std::to_string(cut.size()) + " expected " +
                     std::to_string(end));
  return 0;
}
