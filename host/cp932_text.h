// Code page 932 bytes as the command line shows them, and script text on its way in.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Renders code page 932 bytes as UTF-8, byte by byte: a lead byte and its trail byte that decode to
// one character become it; printable ASCII stays (a backslash is doubled); 0xA1-0xDF become
// half-width katakana; anything else is written \xNN and the walk goes on with the next byte. The
// output never holds a TAB or a line end, so it can sit in one TAB-separated field.
std::string RenderCp932(std::string_view bytes);

// Code page 932 bytes as UTF-8 text, for formats that carry text (JSON): like RenderCp932, but a
// byte that is no character becomes U+FFFD, *whole turns false, and a backslash stays one.
std::string DecodeCp932(std::string_view bytes, bool* whole);

// UTF-8 to code page 932; nothing when the text is not UTF-8 or holds a character the code page
// lacks.
std::optional<std::string> Utf8ToCp932(std::string_view text);

#ifdef _WIN32
// The command line of a Windows program, which comes in the system's ANSI code page: as UTF-8, and
// as code page 932 (nothing when that code page lacks a character of it).
std::string AnsiToUtf8(std::string_view text);
std::optional<std::string> AnsiToCp932(std::string_view text);
// A path of the command line as the file system takes it (UTF-16), and back: what the code page
// lacks becomes '?', as the ANSI functions make it.
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
#endif

// One output line: the fields rendered and joined by TAB, without the line end.
std::string FormatFields(const std::vector<std::string>& fields);

}  // namespace host
