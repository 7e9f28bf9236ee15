#include "cli/id_names.h"

#include "platform/code_page.h"

namespace cli {

std::string TrimBlanks(std::string_view text) {
  constexpr std::string_view kWideBlank = "\x81\x40";
  size_t start = 0, end = 0;  // the first character that is no blank, and the end of the last one
  bool seen = false;
  for (size_t at = 0; at < text.size();) {
    const size_t length =
        platform::IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
    const bool blank = text[at] == ' ' || text.substr(at, length) == kWideBlank;
    if (!blank) {
      if (!seen) start = at;
      seen = true;
      end = at + length;
    }
    at += length;
  }
  return seen ? std::string(text.substr(start, end - start)) : std::string();
}

const std::string& IdNames::Of(const std::string& id) const {
  static const std::string kNone;
  const auto found = names_.find(id);
  return found == names_.end() ? kNone : found->second;
}

}  // namespace cli
