#include "platform/win32/text.h"

#include "platform/win32/win32.h"

namespace platform::win32 {

// Both ways as the system's ANSI functions convert on a code page 932 system (bytes that are no
// character included), so that there the controls hold what they held through those.
std::wstring ToWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int count = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(codePage, 0, text.data(), count, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(codePage, 0, text.data(), count, wide.data(), size);
  return wide;
}

std::string FromWide(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  const int count = static_cast<int>(wide.size());
  const int size = WideCharToMultiByte(codePage, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(codePage, 0, wide.data(), count, text.data(), size, nullptr, nullptr);
  return text;
}

}  // namespace platform::win32
