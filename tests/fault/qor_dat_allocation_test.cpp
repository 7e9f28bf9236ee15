// A QOR.DAT whose lengths claim far more than the file holds is counted as absent, and no
// allocation of the claimed size is ever made; one that holds (or sparsely seems to hold) a
// gigabyte is read without holding it; and only a regular file is opened. A program of its own: it replaces the global
// operator new to see the largest allocation, which would blunt the sanitizer's new/delete checks
// in the other fault tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "fuzz/memory_bytes.h"
#include "idexport/qor_dat.h"
#include "platform/file.h"

namespace {
std::size_t largest = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (size > largest) largest = size;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

// Reads the bytes; the largest allocation made meanwhile lands in `*peak`.
bool Read(const std::string& bytes, std::size_t* peak) {
  qorfuzz::MemoryBytes source(bytes);
  largest = 0;
  const bool read = qor::ReadQorStrings(source);
  *peak = largest;
  return read;
}

constexpr std::size_t kSmall = 64 * 1024;

TEST(QorDatLengths, A32BitLengthOf4GiBIsAbsentAndNeverAllocated) {
  std::size_t peak = 0;
  EXPECT_FALSE(Read(std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7) + "only a few bytes", &peak));
  EXPECT_LT(peak, kSmall);
  // The first string is whole; the second claims 4 GiB - 1.
  EXPECT_FALSE(Read(std::string("\x02" "ab" "\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 10) + "xyz", &peak));
  EXPECT_LT(peak, kSmall);
}

TEST(QorDatLengths, AWideLengthOf8GiBIsAbsentAndNeverAllocated) {
  std::size_t peak = 0;
  EXPECT_FALSE(Read(std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 9) + std::string(1000, 'w'), &peak));
  EXPECT_LT(peak, kSmall);
  // 0x80000000 units: twice that in bytes, past the 32 bits of the length.
  EXPECT_FALSE(Read(std::string("\xFF\xFE\xFF\xFF\xFF\xFF\x00\x00\x00\x80", 10) + "ab", &peak));
  EXPECT_LT(peak, kSmall);
}

TEST(QorDatLengths, A16BitLengthBeyondTheFileIsAbsent) {
  std::size_t peak = 0;
  EXPECT_FALSE(Read(std::string("\xFF\xFD\xFF", 3) + std::string(0xFFFC, 'a'), &peak));  // one byte short
  EXPECT_TRUE(Read(std::string("\xFF\xFD\xFF", 3) + std::string(0xFFFD, 'a') + std::string(1, '\0'), &peak));
}

TEST(QorDatLengths, EndlessWideMarkersEndWithTheFile) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "\xFF\xFE\xFF";
  std::size_t peak = 0;
  EXPECT_FALSE(Read(bytes, &peak));
  EXPECT_LT(peak, kSmall);
}

class QorDatFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qordat-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  std::string Path(const char* name) const { return directory_ + "/" + name; }

  std::string directory_;
};

TEST_F(QorDatFile, ASparseGigabyteIsReadWithoutHoldingIt) {
  const std::string path = Path("QOR.DAT");
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  const uint32_t length = 1u << 30;
  const unsigned char prefix[] = {0xFF, 0xFF, 0xFF, length & 0xFF, (length >> 8) & 0xFF, (length >> 16) & 0xFF,
                                  length >> 24};
  ASSERT_EQ(write(fd, prefix, sizeof prefix), static_cast<ssize_t>(sizeof prefix));
  ASSERT_EQ(ftruncate(fd, sizeof prefix + length + 1), 0);  // a hole, then the second string's 0x00
  close(fd);

  const auto started = std::chrono::steady_clock::now();
  qor::FileBytes file;
  ASSERT_TRUE(file.Open(path));
  largest = 0;
  EXPECT_TRUE(qor::ReadQorStrings(file));
  EXPECT_LT(largest, kSmall);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
  truncate(path.c_str(), sizeof prefix + length);  // one byte short of the second string
  qor::FileBytes shorter;
  ASSERT_TRUE(shorter.Open(path));
  EXPECT_FALSE(qor::ReadQorStrings(shorter));
}

// A FIFO (which would block the open until a writer came), a device, a socket or a directory is
// refused without being opened for reading.
TEST_F(QorDatFile, OnlyARegularFileIsOpened) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = Path("socket");
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  socketPath.copy(address.sun_path, socketPath.size());
  ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::filesystem::create_directory(Path("directory"));
  for (const std::string& path : {Path("fifo"), socketPath, std::string("/dev/null"), Path("directory"),
                                  Path("missing")}) {
    platform::InputFile file;
    EXPECT_FALSE(file.Open(path)) << path;
  }
  close(server);
  std::filesystem::create_symlink(Path("regular"), Path("link"));
  FILE* regular = std::fopen(Path("regular").c_str(), "wb");
  std::fputs("\x01" "a" "\x01" "b", regular);
  std::fclose(regular);
  qor::FileBytes file;
  ASSERT_TRUE(file.Open(Path("link")));
  EXPECT_TRUE(qor::ReadQorStrings(file));
}

}  // namespace
