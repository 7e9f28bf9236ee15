// Logs kept compressed: gzip and xz, told by their first bytes, whatever the file's name.
#pragma once
#include <string>

namespace cli {

// Replaces gzip or xz data in `bytes` by what it holds; leaves other bytes alone. Throws
// UnreadableLog naming `path` when the data is damaged or this build reads no such data.
void Decompress(std::string& bytes, const std::string& path);

}  // namespace cli
