// Whether a search text occurs in an item label: some character of the label (a lead byte and its
// trail byte count as one) starts the whole text. Exact bytes, no folding; an empty text occurs in
// every label that is not empty.
#pragma once
#include <string_view>

#include "base/sjis.h"

namespace qor {

inline bool LabelContains(std::string_view label, std::string_view text) {
  return FindCharacterWise(label, text) != std::string_view::npos;
}

}  // namespace qor
