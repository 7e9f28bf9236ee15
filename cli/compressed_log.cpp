#include "cli/compressed_log.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "cli/log_input.h"

#ifdef MAILZOLKA_COMPRESSED_LOGS
#include <lzma.h>
#include <zlib.h>
#endif

namespace cli {
namespace {

constexpr std::string_view kGzipMagic = "\x1F\x8B";
constexpr std::string_view kXzMagic{"\xFD" "7zXZ\0", 6};
constexpr size_t kChunk = 1 << 20;

#ifdef MAILZOLKA_COMPRESSED_LOGS
// Every member of the file in turn (gzip allows several, concatenated).
std::string Gunzip(const std::string& data, const std::string& path) {
  std::string out;
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) throw UnreadableLog{"log " + path + ": cannot start gzip"};
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  // Fed in pieces of at most 4 GiB, as the stream counts in 32 bits.
  size_t fed = data.size() > UINT32_MAX ? UINT32_MAX : data.size();
  stream.avail_in = static_cast<uInt>(fed);
  int result = Z_OK;
  while (true) {
    const size_t had = out.size();
    out.resize(had + kChunk);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + had);
    stream.avail_out = kChunk;
    result = inflate(&stream, Z_NO_FLUSH);
    out.resize(had + kChunk - stream.avail_out);
    if (stream.avail_in == 0 && fed < data.size()) {
      const size_t more = std::min<size_t>(UINT32_MAX, data.size() - fed);
      stream.avail_in = static_cast<uInt>(more);
      fed += more;
    }
    if (result == Z_STREAM_END) {
      if (stream.avail_in == 0) break;
      inflateReset(&stream);
      continue;
    }
    if (result != Z_OK && result != Z_BUF_ERROR) break;
    if (result == Z_BUF_ERROR && stream.avail_in == 0) break;
  }
  inflateEnd(&stream);
  if (result != Z_STREAM_END) throw UnreadableLog{"log " + path + ": the gzip data is damaged or cut short"};
  return out;
}

std::string Unxz(const std::string& data, const std::string& path) {
  std::string out;
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_stream_decoder(&stream, UINT64_MAX, LZMA_CONCATENATED) != LZMA_OK) {
    throw UnreadableLog{"log " + path + ": cannot start xz"};
  }
  stream.next_in = reinterpret_cast<const uint8_t*>(data.data());
  stream.avail_in = data.size();
  lzma_ret result = LZMA_OK;
  while (result == LZMA_OK) {
    const size_t had = out.size();
    out.resize(had + kChunk);
    stream.next_out = reinterpret_cast<uint8_t*>(out.data() + had);
    stream.avail_out = kChunk;
    result = lzma_code(&stream, stream.avail_in == 0 ? LZMA_FINISH : LZMA_RUN);
    out.resize(had + kChunk - stream.avail_out);
  }
  lzma_end(&stream);
  if (result != LZMA_STREAM_END) throw UnreadableLog{"log " + path + ": the xz data is damaged or cut short"};
  return out;
}
#endif

}  // namespace

void Decompress(std::string& bytes, const std::string& path) {
  const bool gzip = bytes.compare(0, kGzipMagic.size(), kGzipMagic) == 0;
  const bool xz = bytes.compare(0, kXzMagic.size(), kXzMagic) == 0;
  if (!gzip && !xz) return;
#ifdef MAILZOLKA_COMPRESSED_LOGS
  bytes = gzip ? Gunzip(bytes, path) : Unxz(bytes, path);
#else
  throw UnreadableLog{"log " + path + " is " + (gzip ? "gzip" : "xz") +
                      "-compressed, and this build reads no compressed logs: decompress it first"};
#endif
}

}  // namespace cli
