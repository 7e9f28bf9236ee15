#include "idexport/qor_dat.h"

#include <string>

#include "base/addin_state.h"
#include "platform/file.h"
#include "platform/module.h"

namespace qor {

namespace {

constexpr char kFileName[] = "QOR.DAT";

template <typename T>
bool ReadNumber(ByteSource& source, T* value) {
  unsigned char bytes[sizeof(T)];
  if (!source.Read(bytes, sizeof(T))) return false;
  T result = 0;
  for (std::size_t i = sizeof(T); i-- > 0;) result = static_cast<T>((result << 8) | bytes[i]);
  *value = result;
  return true;
}

// The length prefix; a wide-text marker is followed by a second prefix.
bool ReadLength(ByteSource& source, uint32_t* length, bool* wide) {
  *wide = false;
  for (;;) {
    uint8_t byte = 0;
    if (!ReadNumber(source, &byte)) return false;
    if (byte != 0xFF) {
      *length = byte;
      return true;
    }
    uint16_t word = 0;
    if (!ReadNumber(source, &word)) return false;
    if (word == 0xFFFE) {
      *wide = true;
      continue;
    }
    if (word != 0xFFFF) {
      *length = word;
      return true;
    }
    return ReadNumber(source, length);
  }
}

bool SkipString(ByteSource& source) {
  uint32_t length = 0;
  bool wide = false;
  if (!ReadLength(source, &length, &wide)) return false;
  return source.Skip(wide ? uint64_t{length} * 2 : length);  // UTF-16 units are two bytes each
}

// The module's directory, up to and including its last separator. The whole path counts, also one
// longer than the label buffer's 255 bytes: cut there, it would lose its last separator and name
// another directory.
std::string ModuleDirectory() { return platform::ThisModuleFile().directory; }

}  // namespace

bool ReadQorStrings(ByteSource& source) { return SkipString(source) && SkipString(source); }

void LoadQorData() {
  state.qorPresent = false;
  // Missing, held open by another program, no regular file, or ending before both strings: all
  // count as absent.
  FileBytes file;
  state.qorPresent = file.Open(ModuleDirectory() + kFileName) && ReadQorStrings(file);
}

}  // namespace qor
