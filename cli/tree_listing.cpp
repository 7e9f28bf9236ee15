#include "cli/tree_listing.h"

#include <algorithm>

#include "host/cp932_text.h"

namespace cli {
namespace {

constexpr size_t kWidestColumn = 72;

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6);
}

// Terminal columns of UTF-8 text: two for the wide East Asian characters, one for the rest.
size_t DisplayWidth(const std::string& utf8) {
  size_t width = 0;
  for (size_t i = 0; i < utf8.size();) {
    auto byte = static_cast<unsigned char>(utf8[i]);
    size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? byte : byte & (0x7F >> length);
    for (size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    width += IsWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace

// Each item on its own line, two spaces deeper per level; the selected one marked with '>'. Items
// that point at a log line (mails, headings) show its position in brackets, lined up.
std::string ReadableTree(const std::vector<desktop::TreeRow>& rows) {
  std::vector<std::string> lines;
  size_t column = 0;
  for (const desktop::TreeRow& row : rows) {
    std::string line = row.selected ? "> " : "  ";
    line += std::string(2 * row.depth, ' ') + host::RenderCp932(row.text);
    if (row.param > 0) column = std::max(column, DisplayWidth(line) + 2);
    lines.push_back(std::move(line));
  }
  column = std::min(column, kWidestColumn);

  std::string out;
  for (size_t i = 0; i < rows.size(); ++i) {
    out += lines[i];
    if (rows[i].param > 0) {
      size_t width = DisplayWidth(lines[i]);
      out += std::string(width + 2 > column ? 2 : column - width, ' ');
      out += "[" + std::to_string(rows[i].param) + "]";
    }
    out += '\n';
  }
  return out;
}

}  // namespace cli
