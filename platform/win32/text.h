// The add-in's texts are code page 932 whatever the system's ANSI code page is. They cross to the
// controls, boxes, menus and the file system as UTF-16, converted here with code page 932 named:
// the ANSI functions would convert with the system's code page and garble them elsewhere.
#pragma once
#include <string>
#include <string_view>

namespace platform::win32 {

constexpr unsigned kAddinCodePage = 932;

// Another code page may be named (the test host's command line comes in the system's, CP_ACP).
std::wstring ToWide(std::string_view text, unsigned codePage = kAddinCodePage);
// What the code page lacks becomes a look-alike or '?', as the system's ANSI functions make it on a
// system of that code page.
std::string FromWide(std::wstring_view wide, unsigned codePage = kAddinCodePage);

}  // namespace platform::win32
