// The tree as `mailzolka list` shows it to a person: indented, in UTF-8, line positions aligned.
#pragma once
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace cli {

std::string ReadableTree(const std::vector<desktop::TreeRow>& rows);

}  // namespace cli
