// The host's log: code page 932 lines numbered by position in order of arrival, from 1. Positions
// never change; the oldest lines can be discarded, new ones appended.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_abi.h"

namespace host {

using qor::LinePosition;

class LogStore {
 public:
  // Splits a file's bytes into lines: on LF, dropping a CR just before it; text after the last LF
  // is a line only when not empty; an empty file holds one empty line; a NUL ends a line's text.
  // `appendRoom`: how many lines may be appended later (a program that appends a few lines to many
  // small logs sets aside less).
  explicit LogStore(std::string_view fileBytes, size_t appendRoom = kAppendRoom);

  LinePosition FirstPosition() const { return firstHeld_; }
  LinePosition LastPosition() const { return static_cast<LinePosition>(offsets_.size()); }
  bool Holds(LinePosition position) const {
    return position >= firstHeld_ && position <= LastPosition();
  }
  size_t HeldCount() const { return offsets_.size() - (firstHeld_ - 1); }

  // The stored line: its attribute in the first byte, then the text, NUL-terminated. A position
  // not held gives an empty line with attribute 0. Valid until the next Append or DiscardOldest.
  const char* StoredLine(LinePosition position);
  const char* Text(LinePosition position) { return StoredLine(position) + 1; }

  unsigned char Attribute(LinePosition position) const;
  void SetAttribute(LinePosition position, unsigned char attribute);  // held positions only
  // One byte per position, position 0 included. The table never moves: the add-in keeps this
  // pointer from attach on, as it may with the real host's table.
  const unsigned char* Attributes() const { return attributes_.data(); }

  // Room for this many appended lines is set aside when the log is loaded, unless told otherwise.
  static constexpr size_t kAppendRoom = size_t{1} << 20;
  bool CanAppend() const { return attributes_.size() < attributes_.capacity(); }
  // Returns the new line's position; throws std::length_error when there is no room left.
  LinePosition Append(std::string_view text, unsigned char attribute);
  // Drops the oldest line and returns its position; the log always keeps at least one line.
  LinePosition DiscardOldest();

 private:
  void AddLine(std::string_view text);

  // Every line ever held, one after another as stored lines; offsets_[p - 1] is where position p
  // starts. Discarded lines keep their bytes: a session is short, and positions stay an index.
  std::string bytes_;
  std::vector<size_t> offsets_;
  std::vector<unsigned char> attributes_{0};
  LinePosition firstHeld_ = 1;
};

// Reads a log file; throws std::runtime_error naming the file and the reason.
LogStore LoadLogFile(const std::string& path);

}  // namespace host
