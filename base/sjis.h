// Byte-level rules for code page 932 text: substring tests, character-wise searches and cuts that
// never split a double-byte character.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace qor {

using platform::IsLeadByte;

// Length in bytes of the character starting at text[at] (a lead byte at the very end counts 1).
inline std::size_t CharacterLength(std::string_view text, std::size_t at) {
  return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// Plain byte-wise substring test, with no regard for character boundaries.
inline bool ContainsBytes(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Offset of the first occurrence of part that starts on a character boundary, or npos.
std::size_t FindCharacterWise(std::string_view text, std::string_view part);

// Offset of the last single-byte character equal to c, walking characters from the start, or npos.
std::size_t FindLastCharacter(std::string_view text, char c);

// The longest prefix of text of at most limit bytes that ends on a character boundary.
std::string_view CutAtCharacter(std::string_view text, std::size_t limit);

}  // namespace qor
