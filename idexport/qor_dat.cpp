#include "idexport/qor_dat.h"

#include <cstdint>
#include <vector>

#include "addin/addin_state.h"
#include "addin/sjis.h"
#include "platform/module.h"

namespace qor {

namespace {

constexpr char kFileName[] = "QOR.DAT";

class Reader {
 public:
  explicit Reader(std::FILE* file) : file_(file) {
    const long here = std::ftell(file);
    if (here >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
      const long end = std::ftell(file);
      remaining_ = end > here ? static_cast<uint64_t>(end - here) : 0;
      std::fseek(file, here, SEEK_SET);
    }
  }

  bool Bytes(void* into, uint64_t count) {
    if (count > remaining_) return false;
    if (count > 0 && std::fread(into, 1, static_cast<std::size_t>(count), file_) != count) return false;
    remaining_ -= count;
    return true;
  }

  template <typename T>
  bool Number(T* value) {
    unsigned char bytes[sizeof(T)];
    if (!Bytes(bytes, sizeof(T))) return false;
    T result = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) result = static_cast<T>((result << 8) | bytes[i]);
    *value = result;
    return true;
  }

  uint64_t Remaining() const { return remaining_; }

 private:
  std::FILE* file_;
  uint64_t remaining_ = 0;
};

// The length prefix; a wide-text marker is followed by a second prefix.
bool ReadLength(Reader& reader, uint32_t* length, bool* wide) {
  *wide = false;
  for (;;) {
    uint8_t byte = 0;
    if (!reader.Number(&byte)) return false;
    if (byte != 0xFF) {
      *length = byte;
      return true;
    }
    uint16_t word = 0;
    if (!reader.Number(&word)) return false;
    if (word == 0xFFFE) {
      *wide = true;
      continue;
    }
    if (word != 0xFFFF) {
      *length = word;
      return true;
    }
    return reader.Number(length);
  }
}

bool ReadString(Reader& reader, std::string* text) {
  uint32_t length = 0;
  bool wide = false;
  if (!ReadLength(reader, &length, &wide)) return false;
  const uint64_t bytes = wide ? uint64_t{length} * 2 : length;
  if (bytes > reader.Remaining()) return false;
  std::vector<unsigned char> raw(static_cast<std::size_t>(bytes));
  if (!reader.Bytes(raw.data(), bytes)) return false;
  if (!wide) {
    text->assign(raw.begin(), raw.end());
    return true;
  }
  std::u16string units(length, u'\0');
  for (uint32_t i = 0; i < length; ++i) units[i] = static_cast<char16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
  *text = platform::WideToAnsi(units.data(), units.size());
  return true;
}

// The module's path as the platform gives it into the label buffer (255 bytes with the
// terminator), up to and including its last separator.
std::string ModuleDirectory() {
  const std::string path(CutAtCharacter(platform::ModulePath(), kLabelBufferSize - 2));
  const std::size_t separator = FindLastCharacter(path, platform::kPathSeparator);
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

bool ReadQorStrings(std::FILE* file, std::string (&strings)[2]) {
  Reader reader(file);
  return ReadString(reader, &strings[0]) && ReadString(reader, &strings[1]);
}

void LoadQorData() {
  state.qorPresent = false;
  const std::string path = ModuleDirectory() + kFileName;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  std::string strings[2];
  const bool read = ReadQorStrings(file, strings);
  std::fclose(file);
  if (!read) return;  // a file that ends before both strings counts as absent
  state.qorStrings[0] = std::move(strings[0]);
  state.qorStrings[1] = std::move(strings[1]);
  state.qorPresent = true;
}

}  // namespace qor
