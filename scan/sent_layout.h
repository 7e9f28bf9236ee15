// How sent mail stands in the log: the send-command line, the body-prompt line (the anchor L),
// the recipient line and the subject line, four lines in a row. Fields run from their separator to
// the end of the line.
#pragma once
#include <optional>
#include <string_view>

#include "base/sjis.h"
#include "res/texts.h"

namespace qor {

// Holds "/E" and "本文". Asked of every line a sent-mail scan passes, hence inline.
inline bool IsBodyPrompt(std::string_view line) { return ContainsBytes(line, "/E") && ContainsBytes(line, res::kBodyText); }
bool IsSendCommand(std::string_view line);  // holds "＞2" or "＞SMAIL"

// What follows the separator: the first ASCII colon, else the first full-width colon found on a
// character boundary (the whole line when the only one straddles two characters). No value when
// the line holds no colon of either kind.
std::optional<std::string_view> TextAfterSeparator(std::string_view line);

inline std::string_view RecipientId(std::string_view line) { return TextAfterSeparator(line).value_or(line); }
inline std::string_view Subject(std::string_view line) { return TextAfterSeparator(line).value_or(std::string_view()); }

}  // namespace qor
