// QOR.DAT beside the add-in module decides whether the ID registration is offered. It holds two
// length-prefixed strings (one-byte length, or 0xFF and a 16-bit one, or 0xFF 0xFFFF and a 32-bit
// one; 0xFF 0xFFFE first marks UTF-16 text); only whether both can be read counts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace qor {

// Where the reader takes the file's bytes from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual bool Read(void* into, std::size_t count) = 0;  // exactly count bytes, or false
  virtual bool Skip(uint64_t count) = 0;                 // false when fewer bytes remain
};

// The file as the platform opens it: a regular file, with no sharing.
class FileBytes : public ByteSource {
 public:
  bool Open(const std::string& path) { return file_.Open(path); }
  bool Read(void* into, std::size_t count) override { return file_.Read(into, count); }
  bool Skip(uint64_t count) override { return file_.Skip(count); }

 private:
  platform::InputFile file_;
};

// True when the source holds both strings whole. Their bytes are skipped, not held, so a file
// that claims (or holds, or sparsely seems to hold) gigabytes costs neither memory nor time.
bool ReadQorStrings(ByteSource& source);

// Looks for QOR.DAT in the module's directory and sets state.qorPresent.
void LoadQorData();

}  // namespace qor
