// The QOR.DAT reader over arbitrary bytes: every length-prefix form, wide text, truncation and
// lengths far beyond the file. The reader must agree with a plain model of the format on whether
// the file holds two strings, and never allocate what a length claims (libFuzzer's -malloc_limit_mb
// catches a large allocation).
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/common.h"
#include "fuzz/memory_bytes.h"
#include "idexport/qor_dat.h"

namespace {

struct ModelString {
  bool wide = false;
  uint64_t length = 0;      // in units: bytes, or UTF-16 code units when wide
  std::string_view bytes;   // the string's bytes as they stand in the file
};

// The format read from a byte buffer: a prefix (one byte; 0xFF and a 16-bit word; 0xFF 0xFFFF and
// a 32-bit word; 0xFF 0xFFFE marks wide text and is followed by another prefix), then the bytes.
class Model {
 public:
  explicit Model(std::string_view file) : rest_(file) {}

  std::optional<ModelString> Next() {
    ModelString string;
    for (;;) {
      uint64_t byte = 0;
      if (!Number(1, &byte)) return std::nullopt;
      if (byte != 0xFF) {
        string.length = byte;
        break;
      }
      uint64_t word = 0;
      if (!Number(2, &word)) return std::nullopt;
      if (word == 0xFFFE) {
        string.wide = true;
        continue;
      }
      if (word != 0xFFFF) {
        string.length = word;
        break;
      }
      if (!Number(4, &string.length)) return std::nullopt;
      break;
    }
    const uint64_t count = string.wide ? string.length * 2 : string.length;
    if (count > rest_.size()) return std::nullopt;
    string.bytes = rest_.substr(0, count);
    rest_.remove_prefix(count);
    return string;
  }

 private:
  bool Number(std::size_t width, uint64_t* value) {
    if (rest_.size() < width) return false;
    *value = 0;
    for (std::size_t i = width; i-- > 0;) *value = (*value << 8) | static_cast<unsigned char>(rest_[i]);
    rest_.remove_prefix(width);
    return true;
  }
  std::string_view rest_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  qorfuzz::MemoryBytes source(bytes);
  const bool read = qor::ReadQorStrings(source);

  Model model(bytes);
  const std::optional<ModelString> first = model.Next();
  const std::optional<ModelString> second = first ? model.Next() : std::nullopt;
  qorfuzz::Check(read == (first && second), "the reader and the model disagree on whether the file holds two strings",
                 qorfuzz::Escaped(bytes.substr(0, 64)));
  return 0;
}
