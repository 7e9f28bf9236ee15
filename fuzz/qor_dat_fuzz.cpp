// The QOR.DAT reader over arbitrary bytes: every length-prefix form, wide text, truncation and
// lengths far beyond the file. The reader must agree with a plain model of the format, and never
// allocate more than the file holds (libFuzzer's -malloc_limit_mb catches a large allocation).
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/common.h"
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
  // fmemopen gives a stream that can seek and tell, as a file does; an empty file is /dev/null.
  std::FILE* file = size > 0 ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::fopen("/dev/null", "rb");
  if (!file) qorfuzz::Fail("cannot open the input as a stream");
  std::string strings[2] = {"untouched", "untouched"};
  const bool read = qor::ReadQorStrings(file, strings);
  std::fclose(file);

  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Model model(bytes);
  const std::optional<ModelString> first = model.Next();
  const std::optional<ModelString> second = first ? model.Next() : std::nullopt;
  qorfuzz::Check(read == (first && second), "the reader and the model disagree on whether the file holds two strings",
                 qorfuzz::Escaped(bytes.substr(0, 64)));
  if (!read) return 0;
  const ModelString* models[2] = {&*first, &*second};
  for (int i = 0; i < 2; ++i) {
    if (!models[i]->wide) {
      qorfuzz::Check(strings[i] == models[i]->bytes, "a plain string is not its bytes");
    } else {
      // Each UTF-16 unit becomes at most two code page 932 bytes (a pair of units one '?').
      qorfuzz::Check(strings[i].size() <= models[i]->bytes.size(), "a wide string grew in conversion");
      qorfuzz::Check(models[i]->length == 0 || !strings[i].empty(), "a wide string was lost in conversion");
    }
  }
  return 0;
}
