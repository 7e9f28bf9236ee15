// Private profile files: what the reads return and the exact bytes the writes leave.
#include "platform/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/desktop.h"

namespace {

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop::Reset();
    dir = fs::temp_directory_path() / ("sim_profile_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    desktop::SetProfileDirectory(dir.string());
  }
  void TearDown() override {
    fs::remove_all(dir);
    desktop::Reset();
  }

  void Put(const std::string& content) { std::ofstream(dir / "QORMAIL.INI", std::ios::binary) << content; }
  std::string Content(const std::string& name = "QORMAIL.INI") {
    std::ifstream in(dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static int Int(const char* key, int fallback = -9) {
    return platform::GetProfileInt("SYSTEM", key, fallback, "QORMAIL.INI");
  }
  static std::string Text(const char* section, const char* key, const char* fallback = "none") {
    char buffer[64];
    const std::size_t count =
        platform::GetProfileString(section, key, fallback, buffer, sizeof buffer, "QORMAIL.INI");
    EXPECT_EQ(count, std::string(buffer).size());
    return buffer;
  }
  static bool Write(const char* section, const char* key, const char* value) {
    return platform::WriteProfileString(section, key, value, "QORMAIL.INI");
  }

  fs::path dir;
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheFallback) {
  EXPECT_EQ(Int("PREVMODE", 3), 3);
  EXPECT_EQ(Text("SYSTEM", "PREVMODE", "x  "), "x");  // a default loses its trailing blanks
  Put("[SYSTEM]\r\nALLDISP=1\r\n");
  EXPECT_EQ(Int("PREVMODE", 3), 3);
  EXPECT_EQ(Text("OTHER", "ALLDISP"), "none");
}

TEST_F(ProfileTest, ReadsNamesWithoutCaseAndValuesTrimmedAndUnquoted) {
  Put("; comment\r\n[system]\r\n  PrevMode  =  4  \r\nTitle=\"a b "
      "\"\nOne='x'\r\nBare\r\n\r\n[SYSTEM]\r\nLater=1\r\n");
  EXPECT_EQ(Int("prevmode"), 4);
  EXPECT_EQ(Text(" SYSTEM ", "title"), "a b ");
  EXPECT_EQ(Text("SYSTEM", "one"), "x");
  EXPECT_EQ(Text("SYSTEM", "Bare"), "none");   // a line without '=' has no value
  EXPECT_EQ(Text("SYSTEM", "Later"), "none");  // only the first section of a name counts
}

TEST_F(ProfileTest, IntegersReadAsWindowsReadsThem) {
  Put("[SYSTEM]\r\na=5\r\nb=5abc\r\nc=abc\r\nd=\r\ne=-7\r\nf=0x1A\r\ng=\"12\"\r\nh=+3\r\n");
  EXPECT_EQ(Int("a"), 5);
  EXPECT_EQ(Int("b"), 5);
  EXPECT_EQ(Int("c"), 0);   // no digits: 0, not the fallback
  EXPECT_EQ(Int("d"), -9);  // empty: the fallback
  EXPECT_EQ(Int("e"), -7);
  EXPECT_EQ(Int("f"), 26);
  EXPECT_EQ(Int("g"), 12);
  EXPECT_EQ(Int("h"), 3);
}

TEST_F(ProfileTest, StringIsCutToTheBuffer) {
  Put("[SYSTEM]\r\nKEY=abcdef\r\n");
  char buffer[4] = "zzz";
  EXPECT_EQ(platform::GetProfileString("SYSTEM", "KEY", "", buffer, sizeof buffer, "QORMAIL.INI"), 3u);
  EXPECT_STREQ(buffer, "abc");
}

TEST_F(ProfileTest, WriteCreatesFileAndSection) {
  EXPECT_TRUE(Write("SYSTEM", "PREVMODE", "1"));
  EXPECT_EQ(Content(), "[SYSTEM]\r\nPREVMODE=1\r\n");
  EXPECT_TRUE(Write("OTHER", "X", "y"));
  EXPECT_EQ(Content(), "[SYSTEM]\r\nPREVMODE=1\r\n[OTHER]\r\nX=y\r\n");
  EXPECT_EQ(Int("PREVMODE"), 1);
}

TEST_F(ProfileTest, WriteEditsInPlaceAndKeepsEveryOtherByte) {
  Put("; kept\n[System]\nprevmode = 1\nALLDISP=0\n\n[Next]\nA=1");
  EXPECT_TRUE(Write("SYSTEM", "PREVMODE", "4"));
  EXPECT_EQ(Content(), "; kept\n[System]\nprevmode=4\r\nALLDISP=0\n\n[Next]\nA=1");
  EXPECT_TRUE(Write("SYSTEM", "NEW", "x"));  // at the end of the section, before its blank line
  EXPECT_EQ(Content(), "; kept\n[System]\nprevmode=4\r\nALLDISP=0\nNEW=x\r\n\n[Next]\nA=1");
  EXPECT_TRUE(Write("Next", "B", "2"));  // the last line had no line break
  EXPECT_EQ(Content(), "; kept\n[System]\nprevmode=4\r\nALLDISP=0\nNEW=x\r\n\n[Next]\nA=1\r\nB=2\r\n");
  EXPECT_TRUE(Write("Third", "C", "3"));
  EXPECT_EQ(Content(),
            "; kept\n[System]\nprevmode=4\r\nALLDISP=0\nNEW=x\r\n\n[Next]\nA=1\r\nB=2\r\n[Third]\r\nC=3\r\n");
}

TEST_F(ProfileTest, WritingTheSameValueLeavesTheFileAlone) {
  Put("[SYSTEM]\r\nPREVMODE = 2   \r\n");
  EXPECT_TRUE(Write("SYSTEM", "PREVMODE", "2"));
  EXPECT_EQ(Content(), "[SYSTEM]\r\nPREVMODE = 2   \r\n");
}

TEST_F(ProfileTest, WriteFailsWithoutAPlaceToWriteAndLeavesNothingBehind) {
  desktop::SetProfileDirectory((dir / "missing").string());
  EXPECT_FALSE(Write("SYSTEM", "A", "1"));
  desktop::SetProfileDirectory(dir.string());
  fs::create_directory(dir / "QORMAIL.INI");
  EXPECT_FALSE(Write("SYSTEM", "A", "1"));
  EXPECT_EQ(Int("A", 8), 8);  // a directory reads as a missing file
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// The desktop keeps what it read; another program's write in place, of the same size, is seen at
// once, whether it comes within the same tick of the file clock as the reading or later.
TEST_F(ProfileTest, AnotherProgramsWriteIsSeenAtOnce) {
  for (const char* value : {"1", "2", "3"}) {
    Put(std::string("[SYSTEM]\r\nA=") + value + "\r\n");
    EXPECT_EQ(Int("A"), value[0] - '0');
    EXPECT_EQ(Int("A"), value[0] - '0');
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(Int("A"), 3);
  EXPECT_EQ(Int("A"), 3);
  Put("[SYSTEM]\r\nA=4\r\n");
  EXPECT_EQ(Int("A"), 4);
  EXPECT_TRUE(Write("SYSTEM", "A", "5"));
  EXPECT_EQ(Int("A"), 5);
}

TEST_F(ProfileTest, UnreadableFileReadsAsMissingAndIsNotReplaced) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  Put("[SYSTEM]\r\nA=1\r\n");
  fs::permissions(dir / "QORMAIL.INI", fs::perms::none);
  EXPECT_EQ(Int("A", 8), 8);
  EXPECT_FALSE(Write("SYSTEM", "A", "2"));
  fs::permissions(dir / "QORMAIL.INI", fs::perms::owner_all);
  EXPECT_EQ(Content(), "[SYSTEM]\r\nA=1\r\n");
}

std::string Utf16(const std::u16string& text, bool little) {
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(little ? unit & 0xFF : unit >> 8);
    bytes += static_cast<char>(little ? unit >> 8 : unit & 0xFF);
  }
  return bytes;
}

// A file with a UTF-16 byte order mark is UTF-16 text, read and written so; the rest is code
// page 932, also a file that begins with the UTF-8 mark (its first line is then no section).
TEST_F(ProfileTest, Utf16FilesAreReadAndWrittenInTheirOwnEncoding) {
  for (const bool little : {true, false}) {
    Put(Utf16(u"[System]\r\nName=山田 \r\nPrevMode=2\r\n[Other]\r\nX=é\r\nY=€\r\n", little));
    EXPECT_EQ(Text("SYSTEM", "NAME"), "\x8ER\x93\x63");  // 山田 in code page 932
    EXPECT_EQ(Int("PREVMODE"), 2);
    EXPECT_EQ(Text("Other", "X"), "e");  // not in the code page: the nearest character, or '?'
    EXPECT_EQ(Text("Other", "Y"), "?");
    EXPECT_TRUE(Write("SYSTEM", "NEW", "\x89\xEF\x8B\x63"));  // 会議
    EXPECT_TRUE(Write("Other", "X", "1"));
    EXPECT_EQ(Content(), Utf16(u"[System]\r\nName=山田 \r\nPrevMode=2\r\nNEW=会議\r\n[Other]\r\nX=1\r\nY=€\r\n", little));
  }
  Put("\xEF\xBB\xBF[SYSTEM]\r\nPREVMODE=3\r\n");
  EXPECT_EQ(Int("PREVMODE"), -9);
}

// CR, LF and CRLF all end a line; names and values end at a NUL; names match without regard to
// the case of ASCII letters only.
TEST_F(ProfileTest, LinesEndAtCrOrLfAndTextAtNul) {
  Put(std::string("[ID]\rID1=A,a,\rID2=B\0junk\n\r[ \x82\x60\x83\xBF ]\nK\0x=1\r\n", 42));
  EXPECT_EQ(Text("ID", "ID1"), "A,a,");
  EXPECT_EQ(Text("ID", "ID2"), "B");
  EXPECT_EQ(Int("K"), -9);
  EXPECT_EQ(platform::GetProfileInt("\x82\x60\x83\xBF", "k", -9, "QORMAIL.INI"), 1);
  EXPECT_EQ(platform::GetProfileInt("\x82\x81\x83\xBF", "k", -9, "QORMAIL.INI"), -9);  // ａ is not Ａ
  EXPECT_TRUE(Write("ID", "ID3", "C"));
  EXPECT_EQ(Content(), std::string("[ID]\rID1=A,a,\rID2=B\0junk\nID3=C\r\n\r[ \x82\x60\x83\xBF ]\nK\0x=1\r\n", 49));
}

TEST_F(ProfileTest, NameWithSlashIsUsedAsGiven) {
  const std::string path = (dir / "elsewhere.ini").string();
  EXPECT_TRUE(platform::WriteProfileString("S", "K", "v", path.c_str()));
  EXPECT_EQ(Content("elsewhere.ini"), "[S]\r\nK=v\r\n");
  EXPECT_EQ(desktop::GetPrivateProfileInt("S", "K", 5, path.c_str()), 0);
}

}  // namespace
