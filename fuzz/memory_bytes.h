// QOR.DAT's bytes held in memory, as the file would hold them: what the QOR.DAT fuzz target and
// the tests hand the reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "idexport/qor_dat.h"

namespace qorfuzz {

class MemoryBytes : public qor::ByteSource {
 public:
  explicit MemoryBytes(std::string_view bytes) : rest_(bytes) {}
  bool Read(void* into, std::size_t count) override {
    if (count > rest_.size()) return false;
    if (count > 0) std::memcpy(into, rest_.data(), count);
    rest_.remove_prefix(count);
    return true;
  }
  bool Skip(uint64_t count) override {
    if (count > rest_.size()) return false;
    rest_.remove_prefix(static_cast<std::size_t>(count));
    return true;
  }

 private:
  std::string_view rest_;
};

}  // namespace qorfuzz
