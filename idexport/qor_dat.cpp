#include "idexport/qor_dat.h"

#include <string>

#include "base/addin_state.h"
#include "base/sjis.h"
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

// The module's path as the platform gives it into the label buffer (255 bytes with the
// terminator), up to and including its last separator.
std::string ModuleDirectory() {
  const std::string path(CutAtCharacter(platform::ModulePath(), kLabelBufferSize - 2));
  const std::size_t separator = FindLastCharacter(path, platform::kPathSeparator);
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

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
