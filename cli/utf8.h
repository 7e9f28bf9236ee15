// The front end's one UTF-8 decoder: strict, so that what it passes on is well-formed.
#pragma once
#include <cstddef>
#include <string_view>

namespace cli {

// The length of the UTF-8 sequence at `at` and its code point; 0 when the bytes there are no
// well-formed sequence (overlong forms, surrogates and values past U+10FFFF included).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t* codePoint);

}  // namespace cli
