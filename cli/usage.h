// The text of `mailzolka --help`.
#pragma once

namespace cli {

extern const char kUsage[];
extern const char kShortUsage[];

}  // namespace cli
