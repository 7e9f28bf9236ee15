#include "scan/sent_layout.h"

#include "base/sjis.h"
#include "res/texts.h"

namespace qor {

bool IsSendCommand(std::string_view line) {
  return ContainsBytes(line, res::kSendShort) || ContainsBytes(line, res::kSendCommand);
}

std::optional<std::string_view> TextAfterSeparator(std::string_view line) {
  if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) return line.substr(colon + 1);
  const std::string_view wideColon = res::kWideColon;
  if (!ContainsBytes(line, wideColon)) return std::nullopt;
  const std::size_t at = FindCharacterWise(line, wideColon);
  return at == std::string_view::npos ? line : line.substr(at + wideColon.size());
}

}  // namespace qor
