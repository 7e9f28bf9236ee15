#include "base/sjis.h"

namespace qor {

std::size_t FindCharacterWise(std::string_view text, std::string_view part) {
  if (part.empty()) return text.empty() ? std::string_view::npos : 0;
  for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
    if (text.compare(at, part.size(), part) == 0) return at;
  }
  return std::string_view::npos;
}

std::size_t FindLastCharacter(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
    if (text[at] == c) found = at;
  }
  return found;
}

std::string_view CutAtCharacter(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharacterLength(text, end);
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace qor
