// The filters of mailzolka mails: the other party (--from, --to, --with), the subject, the date and
// the direction. Bad usage (a pattern that is no regular expression, a date that is none) is found
// when the filter is made, before any log is read.
#pragma once
#include <optional>
#include <regex>
#include <string>

#include "cli/command_support.h"
#include "cli/mail_records.h"

namespace cli {

class MailFilter {
 public:
  explicit MailFilter(const Arguments& args);
  // The views to read: received mail always (it names the IDs of sent mail too), sent mail unless
  // only received mail can match (--from, --received).
  MailViews Views() const { return {true, wantSent_}; }
  // `party`: whether --from, --to or --with is asked too (a sent mail's name is known only once
  // every log is read).
  bool Matches(const MailRecord& mail, bool party = true) const;

 private:
  bool PartyMatches(const MailRecord& mail) const;
  bool wantReceived_ = true;
  bool wantSent_ = true;
  std::optional<std::string> party_;  // code page 932, or unmatched when the code page lacks it
  bool partyInCodePage_ = true;
  std::optional<std::wregex> subject_;
  std::string since_, until_;  // YYYY, YYYY-MM or YYYY-MM-DD
};

// Text as --subject matches it: full-width ASCII letters, digits and signs as their ASCII forms,
// the ideographic space as a blank, half-width katakana as full-width (a voiced mark joined to
// its kana). In a pattern, a full-width sign that would become a regular-expression operator stays
// a literal sign.
std::wstring FoldWidths(const std::string& utf8, bool pattern);

}  // namespace cli
