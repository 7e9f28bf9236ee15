#include "host/log_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace host {

LogStore::LogStore(std::string_view fileBytes) {
  bytes_.reserve(fileBytes.size() + fileBytes.size() / 16 + 16);
  size_t start = 0;
  while (start < fileBytes.size()) {
    size_t end = fileBytes.find('\n', start);
    if (end == std::string_view::npos) {
      AddLine(fileBytes.substr(start));  // trailing text without LF, known to be non-empty
      break;
    }
    size_t textEnd = end;
    if (textEnd > start && fileBytes[textEnd - 1] == '\r') --textEnd;
    AddLine(fileBytes.substr(start, textEnd - start));
    start = end + 1;
  }
  if (offsets_.empty()) AddLine({});
  attributes_.reserve(offsets_.size() + 1 + kAppendRoom);
  attributes_.resize(offsets_.size() + 1, 0);
}

void LogStore::AddLine(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  offsets_.push_back(bytes_.size());
  bytes_ += '\0';  // attribute byte, filled in when the line is handed out
  bytes_ += text;
  bytes_ += '\0';
}

const char* LogStore::StoredLine(LinePosition position) {
  static char emptyLine[2] = {0, 0};
  if (!Holds(position)) return emptyLine;
  char* line = bytes_.data() + offsets_[position - 1];
  line[0] = static_cast<char>(attributes_[position]);
  return line;
}

unsigned char LogStore::Attribute(LinePosition position) const {
  return Holds(position) ? attributes_[position] : 0;
}

void LogStore::SetAttribute(LinePosition position, unsigned char attribute) {
  if (Holds(position)) attributes_[position] = attribute;
}

LinePosition LogStore::Append(std::string_view text, unsigned char attribute) {
  if (!CanAppend()) throw std::length_error("the log has no room for another line");
  AddLine(text);
  attributes_.push_back(attribute);
  return LastPosition();
}

LinePosition LogStore::DiscardOldest() {
  if (HeldCount() <= 1) throw std::logic_error("the log keeps at least one line");
  LinePosition dropped = firstHeld_++;
  attributes_[dropped] = 0;
  return dropped;
}

LogStore LoadLogFile(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) throw std::runtime_error("cannot read log " + path + ": " + std::strerror(errno));
  std::string bytes;
  char chunk[1 << 16];
  size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, count);
  if (std::ferror(file.get())) {
    throw std::runtime_error("cannot read log " + path + ": " + std::strerror(errno));
  }
  return LogStore(bytes);
}

}  // namespace host
