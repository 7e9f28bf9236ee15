// The byte-level rules of received and sent mail, and of code page 932 text.
#include <gtest/gtest.h>

#include "base/sjis.h"
#include "res/texts.h"
#include "scan/received_layout.h"
#include "scan/sent_layout.h"
#include "tests/unit/cp932.h"

namespace qor {
namespace {

using testing::Sjis;

TEST(Texts, LiteralBytesOfTheLayouts) {
  EXPECT_EQ(std::string(res::kReadNew), "\x81\x84READ NEW");
  EXPECT_EQ(std::string(res::kPromptMark), "\x81\x84");
  EXPECT_EQ(std::string(res::kMailFolder), "\x93\x64\x8E\x71\x83\x81\x81\x5B\x83\x8B\x81\x69");
  EXPECT_EQ(std::string(res::kNotice), "\x82\xA8\x92\x6D\x82\xE7\x82\xB9");
  EXPECT_EQ(std::string(res::kBodyText), "\x96\x7B\x95\xB6");
  EXPECT_EQ(std::string(res::kSendShort), "\x81\x84" "2");
  EXPECT_EQ(std::string(res::kSendCommand), "\x81\x84SMAIL");
  EXPECT_EQ(std::string(res::kWideColon), "\x81\x46");
  EXPECT_EQ(std::string(res::kLabelJoiner), "\x81\x40\x81\x40");
  EXPECT_EQ(std::string(res::kReceivedPrefix), "\x3E\x3E\x8E\xF3\x90\x4D\x81\x46\x20");
  EXPECT_EQ(std::string(res::kSentPrefix), "\x3C\x3C\x91\x97\x90\x4D\x81\x46\x20");
  // Every text in the table reads back as its comment says.
  EXPECT_EQ(std::string(res::kMenuBothById), Sjis("送受信 ID毎"));
  EXPECT_EQ(std::string(res::kMenuAbout), Sjis("Korvik ﾒｰﾙｿﾞﾙｶについて"));
  EXPECT_EQ(std::string(res::kNotFound), Sjis("該当するメールは見つかりませんでした。"));
}

TEST(ReceivedLayout, OpeningAndClosingLines) {
  EXPECT_TRUE(OpensReceivedBlock(Sjis("＞READ NEW")));
  EXPECT_TRUE(OpensReceivedBlock(Sjis("[12:00] ＞READ NEW 10件")));
  EXPECT_FALSE(OpensReceivedBlock(">READ NEW"));
  EXPECT_FALSE(OpensReceivedBlock(Sjis("＞read new")));
  EXPECT_TRUE(ClosesReceivedBlock(Sjis("＞")));
  EXPECT_TRUE(ClosesReceivedBlock(Sjis("＞SMAIL")));
  EXPECT_FALSE(ClosesReceivedBlock(Sjis(" ＞SMAIL")));
  EXPECT_TRUE(ClosesReceivedBlock(Sjis(" 電子メール（未読0件）")));
  EXPECT_FALSE(ClosesReceivedBlock("\x81"));  // half a prefix is no prefix
}

TEST(ReceivedLayout, MailNumberReadsTheFirstFourBytes) {
  EXPECT_EQ(ReadMailNumber("  12 abc"), 12);
  EXPECT_EQ(ReadMailNumber("12ab"), 12);
  EXPECT_EQ(ReadMailNumber("  -3"), -3);
  EXPECT_EQ(ReadMailNumber("+7xx"), 7);
  EXPECT_EQ(ReadMailNumber("    1234"), 0);
  EXPECT_EQ(ReadMailNumber("   0"), 0);
  EXPECT_EQ(ReadMailNumber("abcd"), 0);
  EXPECT_EQ(ReadMailNumber("-0ab"), 0);
  EXPECT_EQ(ReadMailNumber("12345"), 1234);
  EXPECT_EQ(ReadMailNumber("\t12"), 0);  // only ASCII blanks are skipped
  EXPECT_EQ(ReadMailNumber("9"), 9);
}

TEST(ReceivedLayout, HeaderNeedsColonSlashNumberAndNoNotice) {
  const std::string header = Sjis("   1 山田太郎      ABC12345 26/12/07 10:15 会議の件");
  EXPECT_TRUE(IsMailHeader(header));
  EXPECT_FALSE(IsMailHeader(header + Sjis("お知らせ")));
  EXPECT_FALSE(IsMailHeader(Sjis("    1 山田 26/12/07 10:15")));
  EXPECT_FALSE(IsMailHeader("   1 no slash 10:15"));
  EXPECT_FALSE(IsMailHeader("   1 no colon 26/12/07"));
}

TEST(ReceivedLayout, FieldsAtFixedOffsetsOfTheJoinedRecord) {
  const std::string header(40, 'h'), continuation = "0123456789012345678901234567890123456789ABCDEFGHIJ";
  const std::string joined = JoinMailRecord(header, continuation);
  const ReceivedFields fields = CutReceivedFields(joined);
  EXPECT_EQ(fields.subject, continuation.substr(24));
  EXPECT_EQ(fields.senderName, std::string(14, 'h'));
  EXPECT_EQ(fields.senderId, std::string(8, 'h'));
  EXPECT_EQ(fields.listingText.size(), 86u);

  const ReceivedFields shortOne = CutReceivedFields("   1 name/x:yyyyyyyyyyy");  // 23 bytes
  EXPECT_EQ(shortOne.senderId, "y");
  EXPECT_EQ(shortOne.subject, "");
  EXPECT_EQ(CutReceivedFields("   1").listingText, "");
  EXPECT_EQ(CutReceivedFields(std::string(22, 'x')).senderId, "");
}

TEST(ReceivedLayout, JoinedRecordIsCutOnACharacterBoundary) {
  const std::string wide = Sjis("あ");
  std::string header = "x";
  for (int i = 0; i < 300; ++i) header += wide;  // 601 bytes: byte 511 is a lead byte's trail
  const std::string joined = JoinMailRecord(header, "tail");
  EXPECT_EQ(joined.size(), 511u);
  EXPECT_EQ(JoinMailRecord("a" + header, "").size(), 510u);  // byte 510 starts a character
  EXPECT_EQ(JoinMailRecord(header.substr(1), "").size(), 510u);
}

TEST(SentLayout, BodyPromptAndSendCommand) {
  EXPECT_TRUE(IsBodyPrompt(Sjis("本文を入力して下さい (/Eで終了)")));
  EXPECT_FALSE(IsBodyPrompt(Sjis("本文 /e")));
  EXPECT_FALSE(IsBodyPrompt("/E only"));
  EXPECT_TRUE(IsSendCommand(Sjis("＞SMAIL")));
  EXPECT_TRUE(IsSendCommand(Sjis("menu＞25")));
  EXPECT_FALSE(IsSendCommand(">SMAIL"));
  EXPECT_FALSE(IsSendCommand(Sjis("＞smail")));
}

TEST(SentLayout, SeparatorRule) {
  EXPECT_EQ(RecipientId("abc:def"), "def");
  EXPECT_EQ(RecipientId("abc: def"), " def");
  EXPECT_EQ(RecipientId(Sjis("宛先：ABC12345")), "ABC12345");
  EXPECT_EQ(RecipientId("no separator"), "no separator");
  EXPECT_EQ(Subject("no separator"), "");
  EXPECT_EQ(Subject(Sjis("題名：会議 10:30から")), "30" + Sjis("から"));
  EXPECT_EQ(Subject("to:"), "");
  // 0x81 0x46 that straddles two characters (0x88 0x81 is one, then 'F') is no separator.
  const std::string straddle = "\x88\x81" "F";
  EXPECT_EQ(RecipientId(straddle), straddle);
  EXPECT_EQ(RecipientId("\x88\x81" "F" "\x81\x46" "id"), "id");
}

TEST(ShiftJis, CharacterWiseSearchAndCut) {
  const std::string text = "\x88\x81\x46" "a";  // a character ending in 0x81, then 'F', 'a'
  EXPECT_EQ(FindCharacterWise(text, "\x81\x46"), std::string::npos);
  EXPECT_EQ(FindCharacterWise(text, "Fa"), 2u);
  EXPECT_EQ(FindCharacterWise("", ""), std::string::npos);
  EXPECT_EQ(FindCharacterWise("x", ""), 0u);
  EXPECT_EQ(CutAtCharacter("\x82\xA0\x82\xA2", 3), "\x82\xA0");
  EXPECT_EQ(CutAtCharacter("ab\x82", 2), "ab");
  EXPECT_EQ(FindLastCharacter("C:\\\x95\x5C\\x", '\\'), 5u);  // 0x5C as a trail byte is no backslash
}

}  // namespace
}  // namespace qor
