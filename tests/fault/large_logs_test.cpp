// Logs far beyond what a session leaves: one line of 1 MiB in every place a listing reads, and a
// log of 2 000 000 lines scanned whole (ALLDISP on) in every view.
#include <gtest/gtest.h>

#include <string>

#include "base/addin_state.h"
#include "fuzz/in_process_addin.h"
#include "tests/fault/fault_support.h"
#include "tests/fault/log_text.h"

namespace qortest {
namespace {

constexpr std::size_t kMebibyte = std::size_t{1} << 20;

// 1 MiB of text: one ASCII byte, then double-byte characters. With or without that first byte the
// characters start at odd or at even offsets, so a fixed limit falls inside one or the other.
std::string HugeText(const std::string& character) {
  std::string text = "x";
  while (text.size() + character.size() <= kMebibyte) text += character;
  return text;
}

class HugeLine : public ::testing::Test {
 protected:
  ScratchDirectory directory_;
  Events events_;
};

TEST_F(HugeLine, EveryViewCutsItsLabelsOnWholeCharacters) {
  const std::string huge = HugeText(Sjis("あ"));
  const std::string log = Greeting() +
                          ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", huge.substr(1)) +
                                        ReceivedMail(2, Sjis("佐藤花子"), "KJP55021", Sjis("写真を送ります"))) +
                          SentMail(huge.substr(1), huge) + SentMail("XYZ00001", huge) + huge + "\n" + Sjis("＞BYE\n");
  for (int view = 1; view <= 5; ++view) {
    SCOPED_TRACE("view " + std::to_string(view));
    Settings(directory_.Path(), view, true);
    InProcessAddin addin(log, directory_.Path(), &events_);
    ASSERT_TRUE(addin.Attach());
    addin.Activate();
    const std::vector<desktop::TreeRow> rows = addin.Dump();
    ASSERT_GE(rows.size(), 3u);
    for (const desktop::TreeRow& row : rows) {
      if (row.depth == 0) continue;
      // The received listing text goes to the tree whole, up to the 511 bytes of the joined record.
      EXPECT_LE(row.text.size(), view == 1 ? 507u : 255u) << row.param;
      EXPECT_TRUE(EndsWithWholeCharacter(row.text)) << row.param << ": " << row.text.size() << " bytes";
    }
    const std::vector<std::string> mails = Labels(rows, view == 1 || view == 3 ? 1 : 2);
    EXPECT_EQ(mails.size(), view == 5 ? 4u : 2u);  // by both parties: received and sent
  }
}

TEST_F(HugeLine, AHugeHeadingIsInsertedWholeAndTheSearchWalksIt) {
  const std::string huge = HugeText(Sjis("見"));
  const std::string log = ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", Sjis("忘年会"))) + huge;
  Settings(directory_.Path(), 1, true);
  InProcessAddin addin(log, directory_.Path(), &events_);
  addin.Log().SetAttribute(addin.Log().LastPosition(), 3);  // a level-1 heading: under the last mail
  ASSERT_TRUE(addin.Attach());
  addin.Activate();
  addin.Send(qor::kHeadingNotice, static_cast<uintptr_t>(addin.Log().LastPosition()));
  const std::vector<desktop::TreeRow> rows = addin.Dump();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[2].text, huge);

  // The text sought stands at the heading's very end; it is found there, and nothing after it.
  InProcessAddin::Search(huge.substr(huge.size() - 6));
  addin.Command(110);
  ASSERT_FALSE(addin.EventsNamed("ShowLine").empty());
  EXPECT_EQ(addin.EventsNamed("ShowLine").back(), (std::vector<std::string>{"ShowLine", std::to_string(rows[2].param)}));
  InProcessAddin::Answer(1);
  addin.Command(111);
  EXPECT_EQ(addin.EventsNamed("MessageBox").size(), 1u);
  EXPECT_TRUE(scripted::UnusedUserActions().empty());
}

TEST_F(HugeLine, AHugeIdIsExportedWholeAndItsGroupLabelCut) {
  const std::string hugeId = HugeText("I");
  const std::string log = Greeting() + SentMail(hugeId, Sjis("題名"));
  Settings(directory_.Path(), 5, true);
  InProcessAddin addin(log, directory_.Path(), &events_);
  ASSERT_TRUE(addin.Attach());
  addin.Activate();
  ASSERT_EQ(qor::state.idEntries.size(), 1u);
  EXPECT_EQ(Labels(addin.Dump(), 1).at(0), hugeId.substr(0, 255));

  InProcessAddin::Answer(6);
  InProcessAddin::SaveFile(directory_ / "ids.csv");
  InProcessAddin::Answer(1);
  addin.Command(qor::kExportCsv);
  EXPECT_EQ(ReadFile(directory_ / "ids.csv"), hugeId + "," + hugeId + "\n");
}

// ---- 2 000 000 lines, every one scanned.

constexpr int kLines = 2'000'000;

// Mail at the very start, in the middle and at the very end, chatter everywhere else. Returns the
// log; the positions of the three mails' lines land in `positions`.
std::string MillionsOfLinesLog(std::vector<int>* positions) {
  std::string log;
  log.reserve(static_cast<std::size_t>(kLines) * 12);
  int lines = 0;
  auto add = [&](const std::string& text) {
    for (char c : text) lines += c == '\n';
    log += text;
  };
  positions->push_back(lines + 2);  // the header, after the block's opening line
  add(ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", Sjis("最初のメール"))));
  const std::string chatter = "#0001 ok\n";
  while (lines < kLines / 2) add(chatter);
  positions->push_back(lines + 1);  // the send command
  add(SentMail("KJP55021", Sjis("真ん中のメール")));
  const std::string last = ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", Sjis("最後のメール")));
  int lastLines = 0;
  for (char c : last) lastLines += c == '\n';
  while (lines < kLines - lastLines) add(chatter);
  positions->push_back(lines + 2);
  add(last);
  return log;
}

// One scan of the whole log in each view (a test each, so that they run side by side).
class MillionsOfLines : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    log_ = MillionsOfLinesLog(&positions_);
    Settings(directory_.Path(), GetParam(), true);
    addin_ = std::make_unique<InProcessAddin>(log_, directory_.Path(), &events_);
    ASSERT_EQ(addin_->Log().LastPosition(), kLines);
    ASSERT_TRUE(addin_->Attach());
    addin_->Activate();
  }

  ScratchDirectory directory_;
  Events events_;
  std::vector<int> positions_;  // the first received mail, the sent mail, the last received mail
  std::string log_;
  std::unique_ptr<InProcessAddin> addin_;
};

TEST_P(MillionsOfLines, TheScanFindsTheMailAtBothEndsAndInTheMiddle) {
  const std::vector<desktop::TreeRow> rows = addin_->Dump();
  std::vector<int32_t> mails;
  for (const desktop::TreeRow& row : rows) {
    if (row.param > 0) mails.push_back(row.param);
  }
  const std::vector<int32_t> received{positions_[0], positions_[2]}, sent{positions_[1]};
  switch (GetParam()) {
    case 1:
    case 2: EXPECT_EQ(mails, received); break;
    case 3:
    case 4: EXPECT_EQ(mails, sent); break;
    case 5:
      EXPECT_EQ(mails, (std::vector<int32_t>{positions_[0], positions_[2], positions_[1]}));
      ASSERT_EQ(qor::state.idEntries.size(), 2u);
      EXPECT_EQ(qor::state.idEntries[0].id + qor::state.idEntries[1].id, "ABC01234KJP55021");
      break;
  }
  // The progress bar spans the whole log. It repaints once for each block its fill grows by, once
  // for the empty bar and once more to take the last count; nowhere near once per line.
  const auto progress = addin_->EventsNamed("Progress");
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0].at(1), std::to_string(kLines - 1));
  const desktop::ProgressPaints paints = desktop::LastProgressPaints();
  const int32_t blocks = (paints.fillLength + paints.chunk - 1) / paints.chunk;
  EXPECT_GT(blocks, 10);
  EXPECT_GE(paints.repaints, blocks);
  EXPECT_LE(paints.repaints, blocks + 2);
}

INSTANTIATE_TEST_SUITE_P(EachView, MillionsOfLines, ::testing::Values(1, 2, 3, 4, 5));

TEST(MillionsOfLinesInView, TheViewFollowsTheHostAndAllDispOffScansTheLast10000Lines) {
  ScratchDirectory directory;
  std::vector<int> positions;
  const std::string log = MillionsOfLinesLog(&positions);
  Settings(directory.Path(), 3, true);
  InProcessAddin addin(log, directory.Path());
  ASSERT_TRUE(addin.Attach());
  // The view three lines below the sent mail: the first activation lists, then selects that mail.
  addin.Host().SetViewLines(positions[1] + 3, positions[1] + 3);
  addin.Activate();
  std::vector<desktop::TreeRow> rows = addin.Dump();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[1].selected);
  addin.Command(120);  // ALLDISP off: the sent mail lies far above the last 10000 lines
  EXPECT_EQ(addin.Dump().size(), 1u);
  addin.Command(qor::kViewReceivedInOrder);
  rows = addin.Dump();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].param, positions[2]);
}

}  // namespace
}  // namespace qortest
