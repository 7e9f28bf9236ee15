#include "cli/mail_filter.h"

#include <string_view>
#include <tuple>

#include "cli/utf8.h"
#include "host/cp932_text.h"
#include "platform/code_page.h"

namespace cli {
namespace {

// U+FF61 to U+FF9F: the half-width katakana and signs, as their full-width forms.
constexpr char16_t kFullWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr char32_t kVoicedMark = 0xFF9E, kSemiVoicedMark = 0xFF9F;
constexpr std::wstring_view kOperators = L"\\^$.|?*+()[]{}";

std::u32string CodePoints(const std::string& utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    const size_t length = DecodeUtf8(utf8, i, &c);
    out += length > 0 ? c : U'\uFFFD';  // as a byte that is no character reads in a mail's text
    i += length > 0 ? length : 1;
  }
  return out;
}

bool Voices(char32_t kana) {  // カ to ト, ハ to ホ (one step apart from their voiced forms)
  return (kana >= 0x30AB && kana <= 0x30C8 && kana != 0x30C3) || (kana >= 0x30CF && kana <= 0x30DB);
}

bool IsDate(const std::string& text) {
  static const std::regex kDate("[0-9]{4}(-(0[1-9]|1[0-2])(-(0[1-9]|[12][0-9]|3[01]))?)?");
  return std::regex_match(text, kDate);
}

// Code page 932 bytes `part` inside `text`, starting on a character boundary.
bool ContainsCharacterWise(std::string_view text, std::string_view part) {
  for (size_t at = 0; at + part.size() <= text.size();) {
    if (text.compare(at, part.size(), part) == 0) return true;
    at += platform::IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  }
  return false;
}

}  // namespace

std::wstring FoldWidths(const std::string& utf8, bool pattern) {
  const std::u32string in = CodePoints(utf8);
  std::wstring out;
  for (size_t i = 0; i < in.size(); ++i) {
    char32_t c = in[i];
    if (c >= 0xFF01 && c <= 0xFF5E) {
      c -= 0xFEE0;
      if (pattern && kOperators.find(static_cast<wchar_t>(c)) != std::wstring_view::npos) out += L'\\';
    } else if (c == 0x3000) {
      c = ' ';
    } else if (c >= 0xFF61 && c <= 0xFF9F) {
      c = kFullWidthKana[c - 0xFF61];
      const char32_t mark = i + 1 < in.size() ? in[i + 1] : 0;
      if (mark == kVoicedMark && (Voices(c) || c == 0x30A6)) {
        c = c == 0x30A6 ? 0x30F4 : c + 1;  // ウ゛ is ヴ
        ++i;
      } else if (mark == kSemiVoicedMark && c >= 0x30CF && c <= 0x30DB) {
        c += 2;
        ++i;
      }
    }
    if (sizeof(wchar_t) == 2 && c > 0xFFFF) {  // Windows: a surrogate pair
      out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      c = 0xDC00 + ((c - 0x10000) & 0x3FF);
    }
    out += static_cast<wchar_t>(c);
  }
  return out;
}

MailFilter::MailFilter(const Arguments& args) {
  const int parties = args.from.has_value() + args.to.has_value() + args.with.has_value();
  if (parties > 1) throw Failure{"--from, --to and --with do not go together"};
  if (args.receivedOnly && args.sentOnly) throw Failure{"--received and --sent do not go together"};
  wantReceived_ = !args.sentOnly && !args.to;
  wantSent_ = !args.receivedOnly && !args.from;
  if (args.from && args.sentOnly) throw Failure{"--from finds received mail: not with --sent"};
  if (args.to && args.receivedOnly) throw Failure{"--to finds sent mail: not with --received"};
  party_ = args.from ? args.from : args.to ? args.to : args.with;
  if (party_) {
    if (party_->empty()) throw Failure{"--from, --to and --with need an ID or a name"};
    std::optional<std::string> bytes = host::Utf8ToCp932(*party_);
    partyInCodePage_ = bytes.has_value();
    party_ = bytes.value_or("");
  }
  if (args.ignoreCase && !args.subject) throw Failure{"-i goes with --subject"};
  if (args.subject) {
    auto flags = std::regex_constants::ECMAScript;
    if (args.ignoreCase) flags |= std::regex_constants::icase;
    try {
      subject_.emplace(FoldWidths(*args.subject, true), flags);
    } catch (const std::regex_error& error) {
      throw Failure{"bad --subject '" + *args.subject + "': " + error.what()};
    }
  }
  for (const auto& [option, value, target] :
       {std::tuple{"--since", &args.since, &since_}, std::tuple{"--until", &args.until, &until_}}) {
    if (!*value) continue;
    if (!IsDate(**value)) {
      throw Failure{std::string("bad ") + option + " '" + **value + "': YYYY-MM-DD, YYYY-MM or YYYY"};
    }
    *target = **value;
  }
}

bool MailFilter::PartyMatches(const MailRecord& mail) const {
  if (!partyInCodePage_) return false;
  return mail.id == *party_ || ContainsCharacterWise(mail.name, *party_);
}

bool MailFilter::Matches(const MailRecord& mail, bool party) const {
  if (mail.received ? !wantReceived_ : !wantSent_) return false;
  if (party && party_ && !PartyMatches(mail)) return false;
  // A mail without a date (sent mail) is outside every date range.
  if (!since_.empty() && (mail.date.empty() || mail.date.compare(0, since_.size(), since_) < 0)) return false;
  if (!until_.empty() && (mail.date.empty() || mail.date.compare(0, until_.size(), until_) > 0)) return false;
  if (subject_) {
    bool whole = true;
    if (!std::regex_search(FoldWidths(host::DecodeCp932(mail.subject, &whole), false), *subject_)) {
      return false;
    }
  }
  return true;
}

}  // namespace cli
