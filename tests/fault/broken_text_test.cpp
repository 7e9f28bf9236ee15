// Text that is not what the layouts expect: lines that end inside a double-byte character, and NUL
// bytes inside lines. The listings, the labels and the search read no byte beyond a line's end,
// and a line ends where the host says it does.
#include <gtest/gtest.h>

#include <string>

#include "base/addin_state.h"
#include "fuzz/in_process_addin.h"
#include "tests/fault/fault_support.h"
#include "tests/fault/log_text.h"

namespace qortest {
namespace {

using namespace std::string_literals;

class BrokenText : public ::testing::Test {
 protected:
  // The tree of a view over the log, after the first activation.
  std::vector<desktop::TreeRow> List(const std::string& log, int view) {
    Settings(directory_.Path(), view, true);
    addin_ = std::make_unique<InProcessAddin>(log, directory_.Path(), &events_);
    EXPECT_TRUE(addin_->Attach());
    addin_->Activate();
    return addin_->Dump();
  }

  ScratchDirectory directory_;
  Events events_;
  std::unique_ptr<InProcessAddin> addin_;
};

const std::string kLead = "\x82";  // the first byte of あ (0x82 0xA0), alone

TEST_F(BrokenText, EveryLineOfAMailMayEndInsideACharacter) {
  // The header's last byte, the subject's, the recipient's and the sent subject's are lead bytes;
  // so is the last byte of the log, which has no line end.
  const std::string log = Greeting() + ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", Sjis("件名") + kLead)) +
                          SentMail("XYZ" + kLead, Sjis("写真") + kLead) + Sjis("お元気で") + kLead;
  const std::vector<desktop::TreeRow> inOrder = List(log, 1);
  ASSERT_EQ(inOrder.size(), 2u);
  // The label keeps the lone lead byte; the tree control, keeping text in UTF-16, hands it back
  // through the code page as the default character "・", as the real control does.
  EXPECT_TRUE(inOrder[1].text.ends_with(Sjis("件名・")));

  const std::vector<desktop::TreeRow> sent = List(log, 3);
  ASSERT_EQ(sent.size(), 2u);
  // Recipient, two full-width blanks, subject: the lone lead byte takes the first blank's first
  // byte as its trail byte, and the label is all there is, cut at no character.
  EXPECT_EQ(sent[1].text, "XYZ" + kLead + Sjis("　　写真・"));

  const std::vector<desktop::TreeRow> both = List(log, 5);
  EXPECT_EQ(Labels(both, 1), (std::vector<std::string>{Sjis("山田太郎") + "      ", "XYZ" + Sjis("・")}));
  EXPECT_EQ(qor::state.idEntries,
            (std::vector<qor::IdEntry>{{"ABC01234", Labels(both, 1)[0]}, {"XYZ" + kLead, "XYZ" + kLead}}));
}

TEST_F(BrokenText, AHeaderEndingInALeadByteIsJoinedWithItsSubjectAsOneRecord) {
  // The lead byte at offset 63 pairs with the subject's first byte in the joined record; the
  // subject field still starts at offset 64.
  std::string header = ReceivedMail(1, Sjis("山田太郎"), "ABC01234", "");
  header = header.substr(0, 63) + kLead + "\n";
  const std::string log = ReceivedBlock(header + Sjis("あいう") + "\n\n\n");
  const std::vector<desktop::TreeRow> byId = List(log, 2);
  ASSERT_EQ(byId.size(), 3u);
  EXPECT_EQ(byId[2].text, Sjis("あいう"));
}

TEST_F(BrokenText, ASearchTextEndingInALeadByteMatchesOnlyAtACharacterStart) {
  // "い" is 0x82 0xA2: its lead byte alone occurs at a character start in "いぬ", and only inside a
  // character (as a trail byte) in "\x88\x82".
  const std::string log = Greeting() + SentMail("AAA", "\x88\x82" + Sjis("x")) + SentMail("BBB", Sjis("いぬ"));
  ASSERT_EQ(List(log, 4).size(), 5u);
  addin_->Host().SetViewLines(1, 1);  // the view at the top: the first group is selected
  addin_->Activate();
  InProcessAddin::Search("\x82");
  addin_->Command(110);
  const auto shown = addin_->EventsNamed("ShowLine");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0][1], std::to_string(addin_->Dump()[4].param));
  InProcessAddin::Answer(1);
  addin_->Command(111);
  EXPECT_EQ(addin_->EventsNamed("MessageBox").size(), 1u);
}

TEST_F(BrokenText, ALabelOf255BytesEndingInALeadByteLosesIt) {
  std::string subject(254, 'a');
  subject += Sjis("あ");  // bytes 254 and 255 of the subject: the character does not fit in 255
  const std::vector<desktop::TreeRow> rows = List(Greeting() + SentMail("AAA", subject), 4);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].text, std::string(254, 'a'));
}

TEST_F(BrokenText, ANulEndsALineAndTheRestOfItIsNotRead) {
  // The first header holds a NUL before its date: the host cuts the line there, the date's ':' and
  // '/' are gone with it, and the line is no header. The second mail's subject is cut at its NUL,
  // the recipient of the sent mail at its own. No line moves: positions count LF alone.
  std::string first = ReceivedMail(1, Sjis("山田太郎"), "ABC01234", Sjis("消える"));
  first[32] = '\0';
  const std::string second = ReceivedMail(2, Sjis("佐藤花子"), "KJP55021", Sjis("写真を") + "\0"s + Sjis("送ります"));
  const std::string log = ReceivedBlock(first + second) + SentMail("XYZ\0" "00001"s, Sjis("件名")) + "\0\0\0\n"s;
  const std::vector<desktop::TreeRow> received = List(log, 2);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[1].text, Sjis("佐藤花子") + "      ");
  EXPECT_EQ(received[2].text, Sjis("写真を"));
  EXPECT_EQ(received[2].param, 6);

  const std::vector<desktop::TreeRow> sent = List(log, 4);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[1].text, "XYZ");
  EXPECT_EQ(sent[2].param, 11);
  EXPECT_EQ(addin_->Log().LastPosition(), 16);
}

TEST_F(BrokenText, ALogOfNulBytesAloneListsNothing) {
  const std::string log(4096, '\0');
  for (int view = 1; view <= 5; ++view) EXPECT_EQ(List(log, view).size(), 1u) << "view " << view;
  EXPECT_EQ(addin_->Log().LastPosition(), 1);
}

}  // namespace
}  // namespace qortest
