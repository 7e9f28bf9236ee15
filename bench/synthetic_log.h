// Synthetic session logs for the benchmark: long chatter, received-mail listings and sent mail
// from and to many members, in code page 932, as a log file would hold them.
#pragma once
#include <cstddef>
#include <string>

namespace bench {

// About `lines` lines (CRLF-terminated). The same count gives the same bytes.
std::string MakeSessionLog(std::size_t lines, std::size_t members = 800);

}  // namespace bench
