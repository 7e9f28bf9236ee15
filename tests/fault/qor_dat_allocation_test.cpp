// A QOR.DAT whose lengths claim far more than the file holds is counted as absent, and no
// allocation of the claimed size is ever made. A program of its own: it replaces the global
// operator new to see the largest allocation, which would blunt the sanitizer's new/delete checks
// in the other fault tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "idexport/qor_dat.h"

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
  qor::MemoryBytes source(bytes);
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

}  // namespace
