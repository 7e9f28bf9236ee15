// Text as a control that keeps it in UTF-16 gives it back to an ANSI program.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace desktop::detail {

// The text converted from the ANSI code page (932) to UTF-16 and back, as the real controls do
// with the text of their ANSI messages. A lead byte and the byte after it are one character:
// when the pair is no character it comes back as the default character "・" (0x81 0x45); a
// character with two codes comes back in the code the code page prefers (0xED40 as 0xFA5C); the
// single bytes 0x80, 0xA0 and 0xFD-0xFF come back as they were.
std::string ThroughAnsiCodePage(std::string_view text);
// The same into `out`: at most `room` bytes of it (a character may be cut), and how many.
std::size_t ThroughAnsiCodePage(std::string_view text, char* out, std::size_t room);

// Code page 932 text in UTF-16, as MultiByteToWideChar gives it: a lead byte takes the byte after
// it (unless that is NUL or there is none), a pair or lone lead byte of no character is U+30FB
// "・". With `starts`, the byte offset each UTF-16 unit comes from, and the text's size last.
std::u16string WideFromAnsi(std::string_view text, std::vector<std::size_t>* starts = nullptr);
// UTF-16 text in code page 932, as WideCharToMultiByte gives it: a character the code page lacks
// is a near one (Latin-1 letters without their marks) or '?', as is each half of a surrogate pair. Into `out`: whole characters only, at most `room`
// bytes; false when not all of them fitted.
bool AnsiFromWide(std::u16string_view text, char* out, std::size_t room, std::size_t* written);
std::string AnsiFromWide(std::u16string_view text);

// Paths. The simulated system is a code page 932 system over a UTF-8 file system: a path the
// file system gives (UTF-8) reaches the add-in as Windows gives a path to an ANSI program (through
// UTF-16, with AnsiFromWide's look-alikes and '?'), and a path the add-in names (code page 932)
// meets the file system in UTF-8. Bytes that are no UTF-8 count one U+FFFD each.
std::string AnsiPathFromNative(std::string_view utf8);
std::string NativePathFromAnsi(std::string_view cp932);

}  // namespace desktop::detail
