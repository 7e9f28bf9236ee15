// Texts from the log as the ID export writes them into files that other programs read line by
// line: nothing in them may end a line, or the text, early.
#pragma once
#include <string>
#include <string_view>

namespace qor {

// The text with CR, LF and NUL, and every byte of `also`, replaced by a blank. None of them is
// the second byte of a double-byte character.
inline std::string Blanked(std::string text, std::string_view also = {}) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0' || also.find(c) != std::string_view::npos) c = ' ';
  }
  return text;
}

// The ID as the ID export writes it beside `name`. A line that is an ID, a comma and the same ID
// again is read as that ID whole; otherwise the first comma ends the ID, so a comma in it is
// blanked too.
inline std::string ExportedId(const std::string& id, const std::string& name) {
  return Blanked(id, name == id ? "" : ",");
}

}  // namespace qor
