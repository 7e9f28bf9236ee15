// The add-in's texts are code page 932 whatever the system's ANSI code page is. They cross to the
// controls, boxes, menus and the file system as UTF-16, converted here with code page 932 named:
// the ANSI functions would convert with the system's code page and garble them elsewhere.
#pragma once
#include <string>
#include <string_view>

namespace platform::win32 {

constexpr unsigned kAddinCodePage = 932;

std::wstring ToWide(std::string_view cp932);
// What code page 932 lacks becomes a look-alike or '?', as the system's ANSI functions make it on a
// code page 932 system.
std::string FromWide(std::wstring_view wide);

}  // namespace platform::win32
