// Files that cannot be read or written: QOR.INI as a directory or unreadable, a full disk and a
// directory that takes no new file, for the ID registration, the CSV export and the settings. No
// file of the user's is damaged, no temporary file is left behind, and the add-in goes on.
//
// A full disk is simulated with RLIMIT_FSIZE (binding root too). A directory that takes no new
// file is one without write permission for other users; root ignores permissions, so for root it
// is /proc, which takes no new file from anyone. "Unreadable" is a file whose read fails: for root
// a link to /proc/self/mem (its first page is never mapped: the read fails with EIO), for other
// users also a file without read permission.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/addin_state.h"
#include "fuzz/in_process_addin.h"
#include "res/texts.h"
#include "tests/fault/fault_support.h"
#include "tests/fault/log_text.h"

namespace qortest {
namespace {

namespace fs = std::filesystem;

const std::string kRegistry = "[ID]\r\nID1=ABC01234,old name,\r\n[OTHER]\r\nKEEP=1\r\n";

class FileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string log =
        ReceivedBlock(ReceivedMail(1, Sjis("山田太郎"), "ABC01234", Sjis("忘年会")) +
                      ReceivedMail(2, Sjis("佐藤花子"), "KJP55021", Sjis("写真"))) +
        SentMail("XYZ00001", Sjis("会議"));
    Settings(directory_.Path(), 5, true);
    addin_ = std::make_unique<InProcessAddin>(log, directory_.Path(), &events_);
    ASSERT_TRUE(addin_->Attach());
    addin_->Activate();
    ASSERT_EQ(qor::state.idEntries.size(), 3u);
    before_ = Listing(directory_.Path());
  }

  // Command 130 with every candidate kept, which ends with its closing box and, when entries
  // could not be written, a box (OK, exclamation) with their number.
  void Register(int notWritten = 0) {
    InProcessAddin::Answer(6);
    InProcessAddin::KeepAllRows();
    InProcessAddin::Answer(1);
    if (notWritten > 0) InProcessAddin::Answer(1);
    const std::size_t boxesBefore = addin_->EventsNamed("MessageBox").size();
    addin_->Command(qor::kRegisterIds);
    EXPECT_TRUE(scripted::UnusedUserActions().empty());
    const auto boxes = addin_->EventsNamed("MessageBox");
    ASSERT_EQ(boxes.size(), boxesBefore + (notWritten > 0 ? 3 : 2));
    EXPECT_EQ(boxes[boxesBefore + 1].at(4), res::kRegisterDone);
    if (notWritten > 0) {
      EXPECT_EQ(std::vector<std::string>(boxes.back().begin() + 2, boxes.back().end()),
                (std::vector<std::string>{"OK", "EXCLAMATION", std::to_string(notWritten) + res::kRegistryNotWritten}));
    }
  }

  // Command 130 with every candidate kept (when there is a selection) and `oks` boxes answered;
  // returns the texts of the boxes after the question.
  std::vector<std::string> RegisterBoxes(int oks, bool selection = true) {
    InProcessAddin::Answer(6);
    if (selection) InProcessAddin::KeepAllRows();
    for (int i = 0; i < oks; ++i) InProcessAddin::Answer(1);
    const std::size_t boxesBefore = addin_->EventsNamed("MessageBox").size();
    addin_->Command(qor::kRegisterIds);
    EXPECT_TRUE(scripted::UnusedUserActions().empty());
    std::vector<std::string> texts;
    const auto boxes = addin_->EventsNamed("MessageBox");
    for (std::size_t i = boxesBefore + 1; i < boxes.size(); ++i) texts.push_back(boxes[i].at(4));
    return texts;
  }

  // Command 131 to `path`; returns the text of the box it closed with.
  std::string Export(const std::string& path) {
    InProcessAddin::Answer(6);
    InProcessAddin::SaveFile(path);
    InProcessAddin::Answer(1);
    addin_->Command(qor::kExportCsv);
    EXPECT_TRUE(scripted::UnusedUserActions().empty());
    const auto boxes = addin_->EventsNamed("MessageBox");
    return boxes.empty() ? std::string() : boxes.back().at(4);
  }

  // No file came or went in the profile directory.
  void ExpectNoFileLeft() { EXPECT_EQ(Listing(directory_.Path()), before_); }

  ScratchDirectory directory_;
  Events events_;
  std::unique_ptr<InProcessAddin> addin_;
  std::vector<std::string> before_;
};

TEST_F(FileFaults, QorIniAsADirectoryIsReadAsEmptyAndLeftAlone) {
  fs::create_directory(directory_ / "QOR.INI");
  WriteFile(directory_ / "QOR.INI/inside", "user data");
  before_ = Listing(directory_.Path());
  Register(3);
  EXPECT_TRUE(fs::is_directory(directory_ / "QOR.INI"));
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI/inside"), "user data");
  ExpectNoFileLeft();
  // The dialog offered all three IDs: nothing could be read.
  EXPECT_EQ(addin_->EventsNamed("Dialog").back().at(1), "137");
}

TEST_F(FileFaults, AnUnreadableQorIniIsNeitherReadNorReplaced) {
  fs::create_symlink("/proc/self/mem", directory_ / "QOR.INI");
  before_ = Listing(directory_.Path());
  Register(3);
  EXPECT_TRUE(fs::is_symlink(directory_ / "QOR.INI"));
  EXPECT_EQ(fs::read_symlink(directory_ / "QOR.INI"), "/proc/self/mem");
  ExpectNoFileLeft();
}

TEST_F(FileFaults, AQorIniWithoutReadPermissionIsNeitherReadNorReplaced) {
  if (!PermissionsBind()) GTEST_SKIP() << "permissions do not bind root; see the /proc/self/mem case";
  WriteFile(directory_ / "QOR.INI", kRegistry);
  chmod((directory_ / "QOR.INI").c_str(), 0);
  before_ = Listing(directory_.Path());
  Register(3);
  chmod((directory_ / "QOR.INI").c_str(), 0600);
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"), kRegistry);
  ExpectNoFileLeft();
}

TEST_F(FileFaults, AFullDiskKeepsQorIniAsItWas) {
  WriteFile(directory_ / "QOR.INI", kRegistry);
  before_ = Listing(directory_.Path());
  {
    FullDisk full;
    Register(2);
  }
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"), kRegistry);
  ExpectNoFileLeft();
  // With room again, the next registration writes the two new IDs after the one there.
  Register();
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"),
            "[ID]\r\nID1=ABC01234,old name,\r\nID2=KJP55021," + Sjis("佐藤花子") + "      ,\r\nID3=XYZ00001,XYZ00001,\r\n"
            "[OTHER]\r\nKEEP=1\r\n");
}

TEST_F(FileFaults, ARegistryDirectoryThatTakesNoFileKeepsItsContent) {
  std::string directory = "/proc";
  if (PermissionsBind()) {
    WriteFile(directory_ / "QOR.INI", kRegistry);
    chmod(directory_.Path().c_str(), 0555);
    directory = directory_.Path();
  }
  desktop::SetProfileDirectory(directory);
  Register(PermissionsBind() ? 2 : 3);
  // The settings cannot be written there either: the view still switches.
  addin_->Command(qor::kViewReceivedInOrder);
  EXPECT_EQ(addin_->Dump().size(), 3u);
  chmod(directory_.Path().c_str(), 0700);
  if (PermissionsBind()) {
    EXPECT_EQ(ReadFile(directory_ / "QOR.INI"), kRegistry);
  }
  EXPECT_FALSE(fs::exists("/proc/QOR.INI"));
}

TEST_F(FileFaults, AFullDiskKeepsTheOldExportAndSaysSo) {
  WriteFile(directory_ / "ids.csv", "old export\n");
  before_ = Listing(directory_.Path());
  std::string told;
  {
    FullDisk full(4);
    told = Export(directory_ / "ids.csv");
  }
  EXPECT_EQ(told, res::kExportFailed + (directory_ / "ids.csv"));
  EXPECT_EQ(ReadFile(directory_ / "ids.csv"), "old export\n");
  ExpectNoFileLeft();
  EXPECT_EQ(Export(directory_ / "ids.csv"), "3" + std::string(res::kExportedSuffix));
}

TEST_F(FileFaults, AnExportIntoADirectoryThatTakesNoFileSaysSo) {
  std::string target = "/proc/qorfault-ids.csv";
  if (PermissionsBind()) {
    target = directory_ / "ids.csv";
    WriteFile(target, "old export\n");
    chmod(directory_.Path().c_str(), 0555);
  }
  EXPECT_EQ(Export(target), res::kExportFailed + target);
  chmod(directory_.Path().c_str(), 0700);
  if (PermissionsBind()) {
    EXPECT_EQ(ReadFile(target), "old export\n");
  } else {
    EXPECT_FALSE(fs::exists(target));
  }
}

TEST_F(FileFaults, AnExportOntoADirectoryLeavesItAlone) {
  // The save-file dialog opens a folder chosen as the file; the user then cancels.
  fs::create_directory(directory_ / "ids.csv");
  before_ = Listing(directory_.Path());
  InProcessAddin::Answer(6);
  InProcessAddin::SaveFile(directory_ / "ids.csv");
  InProcessAddin::SaveFile(std::nullopt);
  addin_->Command(qor::kExportCsv);
  EXPECT_TRUE(scripted::UnusedUserActions().empty());
  EXPECT_EQ(addin_->EventsNamed("MessageBox").size(), 1u);  // the question alone
  EXPECT_TRUE(fs::is_directory(directory_ / "ids.csv"));
  ExpectNoFileLeft();
}

// Exporting to a device or a pipe (/dev/full, a FIFO) must not put a plain file in its place: for
// root that would replace the device for everyone. A FIFO in the scratch directory stands in here.
TEST_F(FileFaults, AnExportToAPipeLeavesThePipeInPlace) {
  ASSERT_EQ(mkfifo((directory_ / "pipe").c_str(), 0600), 0);
  before_ = Listing(directory_.Path());
  EXPECT_EQ(Export(directory_ / "pipe"), res::kExportFailed + (directory_ / "pipe"));
  EXPECT_TRUE(fs::is_fifo(directory_ / "pipe"));
  ExpectNoFileLeft();
}

// A symbolic link to the export file stays a link; the file it names gets the export.
TEST_F(FileFaults, AnExportThroughALinkWritesTheFileItNames) {
  fs::create_directory(directory_ / "shared");
  WriteFile(directory_ / "shared/ids.csv", "old export\n");
  fs::create_symlink("shared/ids.csv", directory_ / "ids.csv");
  before_ = Listing(directory_.Path());
  EXPECT_EQ(Export(directory_ / "ids.csv"), "3" + std::string(res::kExportedSuffix));
  EXPECT_TRUE(fs::is_symlink(directory_ / "ids.csv"));
  EXPECT_TRUE(ReadFile(directory_ / "shared/ids.csv").starts_with("ABC01234," + Sjis("山田太郎")));
  ExpectNoFileLeft();
}

// QOR.INI kept elsewhere and linked into the profile directory stays linked; the registry it names
// gets the new IDs.
TEST_F(FileFaults, ARegistryThroughALinkWritesTheFileItNames) {
  fs::create_directory(directory_ / "qor");
  WriteFile(directory_ / "qor/QOR.INI", kRegistry);
  fs::create_symlink("qor/QOR.INI", directory_ / "QOR.INI");
  before_ = Listing(directory_.Path());
  Register();
  EXPECT_TRUE(fs::is_symlink(directory_ / "QOR.INI"));
  EXPECT_NE(ReadFile(directory_ / "qor/QOR.INI").find("ID3=XYZ00001,XYZ00001,\r\n"), std::string::npos);
  ExpectNoFileLeft();
  EXPECT_EQ(Listing(directory_ / "qor"), std::vector<std::string>{"QOR.INI"});
}

TEST_F(FileFaults, AFullDiskKeepsTheSettingsAndTheViewStillSwitches) {
  const std::string settings = ReadFile(directory_ / qor::ProfileName());
  {
    FullDisk full;
    addin_->Command(qor::kViewSentInOrder);
  }
  EXPECT_TRUE(addin_->EventsNamed("MessageBox").empty());  // a failed settings write is silent
  EXPECT_EQ(addin_->Dump().size(), 2u);  // the one sent mail
  EXPECT_EQ(ReadFile(directory_ / qor::ProfileName()), settings);
  ExpectNoFileLeft();
}

// Names planted beside the export (a link to a file elsewhere, a FIFO at the name a temporary file
// once had) are neither followed nor opened: the export goes to the file chosen, and every planted
// name stays as it was.
TEST_F(FileFaults, ALinkPlantedBesideTheExportIsNotFollowed) {
  WriteFile(directory_ / "ids.csv", "old export\n");
  fs::create_symlink(directory_ / "victim", directory_ / "ids.csv.partial");
  before_ = Listing(directory_.Path());
  EXPECT_EQ(Export(directory_ / "ids.csv"), "3" + std::string(res::kExportedSuffix));
  EXPECT_FALSE(fs::exists(directory_ / "victim"));
  EXPECT_TRUE(fs::is_symlink(directory_ / "ids.csv.partial"));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(directory_ / "ids.csv")));
  EXPECT_TRUE(ReadFile(directory_ / "ids.csv").starts_with("ABC01234,"));
  ExpectNoFileLeft();
}

TEST_F(FileFaults, AFifoPlantedBesideTheExportDoesNotBlockIt) {
  ASSERT_EQ(mkfifo((directory_ / "ids.csv.partial").c_str(), 0600), 0);
  before_ = Listing(directory_.Path());
  EXPECT_EQ(Export(directory_ / "ids.csv"), "3" + std::string(res::kExportedSuffix));
  EXPECT_TRUE(fs::is_fifo(directory_ / "ids.csv.partial"));
  before_.push_back("ids.csv");
  std::sort(before_.begin(), before_.end());
  ExpectNoFileLeft();
}

// A rewritten file keeps its mode and owner (the registry, the export); a file with a second hard
// link is written in place, so the link shares the new content (the settings, the export).
TEST_F(FileFaults, RewrittenFilesKeepTheirModeOwnerAndLinks) {
  const std::string registry = directory_ / "QOR.INI", settings = directory_ / qor::ProfileName();
  WriteFile(registry, kRegistry);
  chmod(registry.c_str(), 0600);
  const bool mayGiveAway = geteuid() == 0 && chown(registry.c_str(), 4321, 4322) == 0;
  ASSERT_EQ(link(settings.c_str(), (directory_ / "settings-link.ini").c_str()), 0);
  WriteFile(directory_ / "ids.csv", "old\n");
  chmod((directory_ / "ids.csv").c_str(), 0640);
  WriteFile(directory_ / "linked.csv", "old\n");
  ASSERT_EQ(link((directory_ / "linked.csv").c_str(), (directory_ / "other-name.csv").c_str()), 0);
  before_ = Listing(directory_.Path());

  Register();
  addin_->Command(qor::kViewSentInOrder);
  EXPECT_EQ(Export(directory_ / "ids.csv"), "3" + std::string(res::kExportedSuffix));
  EXPECT_EQ(Export(directory_ / "linked.csv"), "3" + std::string(res::kExportedSuffix));

  struct stat status {};
  ASSERT_EQ(stat(registry.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
  if (mayGiveAway) {
    EXPECT_EQ(std::make_pair(status.st_uid, status.st_gid), std::make_pair(4321u, 4322u));
  }
  EXPECT_NE(ReadFile(registry).find("XYZ00001"), std::string::npos);
  ASSERT_EQ(stat((directory_ / "ids.csv").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_NE(ReadFile(settings).find("PREVMODE=3"), std::string::npos);
  EXPECT_EQ(ReadFile(directory_ / "settings-link.ini"), ReadFile(settings));
  EXPECT_TRUE(ReadFile(directory_ / "other-name.csv").starts_with("ABC01234,"));
  ExpectNoFileLeft();
}

// The export through a link into another file system, and to a name of the longest length.
TEST_F(FileFaults, AnExportReachesAnotherFileSystemAndTheLongestName) {
  char shared[] = "/dev/shm/qorfault-XXXXXX";
  struct stat here {}, there {};
  if (!mkdtemp(shared)) GTEST_SKIP() << "no /dev/shm";
  stat(directory_.Path().c_str(), &here);
  stat(shared, &there);
  const std::string target = std::string(shared) + "/ids.csv";
  WriteFile(target, "old\n");
  fs::create_symlink(target, directory_ / "ids.csv");
  if (here.st_dev != there.st_dev) {
    EXPECT_EQ(Export(directory_ / "ids.csv"), "3" + std::string(res::kExportedSuffix));
    EXPECT_TRUE(ReadFile(target).starts_with("ABC01234,"));
    EXPECT_TRUE(fs::is_symlink(directory_ / "ids.csv"));
  }
  EXPECT_EQ(Listing(shared), std::vector<std::string>{"ids.csv"});
  fs::remove_all(shared);

  const std::string longest(255, 'n');
  EXPECT_EQ(Export(directory_ / longest), "3" + std::string(res::kExportedSuffix));
  EXPECT_TRUE(ReadFile(directory_ / longest).starts_with("ABC01234,"));
}

// IDs that would not read back as themselves (a comma, 255 bytes or more) are compared in the form
// they would read back as, and reported instead of written; a registration run again writes
// nothing, so the registry does not fill up with them.
TEST_F(FileFaults, IdsTheRegistryCannotHoldAreReportedNotWritten) {
  WriteFile(directory_ / "QOR.INI", "[ID]\r\nID1=ABC01234,old name,\r\nID2=AB,x,\r\n");
  qor::state.idEntries = {
      {"  XYZ00001", "x"}, {"AB,CD", "AB,CD"}, {std::string(300, 'L'), "long"}, {"KJP55021", Sjis("佐藤")}};
  // "AB,CD" reads back as "AB", which is there: not offered. "  XYZ00001" is written as the
  // registry reads it back, without its leading blanks.
  Register(1);
  const std::string registry = ReadFile(directory_ / "QOR.INI");
  EXPECT_EQ(registry, "[ID]\r\nID1=ABC01234,old name,\r\nID2=AB,x,\r\nID3=XYZ00001,x,\r\nID4=KJP55021," +
                          Sjis("佐藤") + ",\r\n");
  Register(1);
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"), registry);
}

// ID1 to ID98 taken and three new IDs: the first takes ID99, the box counts the other two.
TEST_F(FileFaults, TheLastFreeKeyTakesOneIdAndTheBoxCountsTheRest) {
  std::string registry = "[ID]\r\n";
  for (int key = 1; key <= 98; ++key) registry += "ID" + std::to_string(key) + "=M" + std::to_string(key) + ",n,\r\n";
  WriteFile(directory_ / "QOR.INI", registry);
  EXPECT_EQ(RegisterBoxes(2), (std::vector<std::string>{res::kRegisterDone, "2" + std::string(res::kRegistryFull)}));
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"), registry + "ID99=ABC01234," + qor::state.idEntries[0].name + ",\r\n");
}

// A recipient written with a leading blank is the ID without it: registered once in that form
// (also when the same ID was received), then recognised.
TEST_F(FileFaults, AnIdWithALeadingBlankIsRegisteredOnceAsItReadsBack) {
  qor::state.idEntries = {{"ABC01234", Sjis("山田")}, {" ABC01234", " ABC01234"}, {"\t NEK77777", "\t NEK77777"}};
  EXPECT_EQ(RegisterBoxes(1), std::vector<std::string>{res::kRegisterDone});
  const std::string registry = ReadFile(directory_ / "QOR.INI");
  EXPECT_EQ(registry, "[ID]\r\nID1=ABC01234," + Sjis("山田") + ",\r\nID2=NEK77777,NEK77777,\r\n");
  EXPECT_EQ(RegisterBoxes(1, false), std::vector<std::string>{res::kRegisterDone});  // nothing offered
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"), registry);
}

// A sender's name or ID with CR, LF or NUL: QOR.INI and the export keep one line per entry, with
// blanks in their place, and a box counts the entries so written.
TEST_F(FileFaults, LineBreaksFromTheLogBecomeBlanksInBothFiles) {
  qor::state.idEntries = {{"ABC01234", std::string("A\r[X]\rID9=EV\n\0B", 15)},
                          {"XY\r1", "XY\r1"}, {"KJP55021", "ok"}};
  EXPECT_EQ(RegisterBoxes(2),
            (std::vector<std::string>{res::kRegisterDone, "2" + std::string(res::kLineBreaksBlanked)}));
  EXPECT_EQ(ReadFile(directory_ / "QOR.INI"),
            "[ID]\r\nID1=ABC01234,A [X] ID9=EV  B,\r\nID2=XY 1,XY 1,\r\nID3=KJP55021,ok,\r\n");
  InProcessAddin::Answer(6);
  InProcessAddin::SaveFile(directory_ / "ids.csv");
  InProcessAddin::Answer(1);
  InProcessAddin::Answer(1);
  addin_->Command(qor::kExportCsv);
  EXPECT_EQ(addin_->EventsNamed("MessageBox").back().at(4), "2" + std::string(res::kLineBreaksBlanked));
  EXPECT_EQ(ReadFile(directory_ / "ids.csv"), "ABC01234,A [X] ID9=EV  B\nXY 1,XY 1\nKJP55021,ok\n");
}

// Two registrations at once in two processes, 20 new IDs each: every ID lands in a key of its own
// and neither run reports an entry it did not write. In the last round both find the same IDs:
// each is written once.
TEST_F(FileFaults, TwoRegistrationsAtOnceKeepEveryEntry) {
  for (int round = 0; round < 4; ++round) {
    const bool same = round == 3;
    WriteFile(directory_ / "QOR.INI", kRegistry);
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    qor::state.idEntries.clear();
    for (int i = 0; i < 20; ++i) {
      qor::state.idEntries.push_back({(same ? "S" : child == 0 ? "C" : "P") + std::to_string(round * 100 + i), "n"});
    }
    char go = 0;
    if (child == 0) {
      close(start[1]);
      (void)!read(start[0], &go, 1);  // both start together
      Register();
      _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    close(start[0]);
    close(start[1]);
    Register();
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
    const std::string registry = ReadFile(directory_ / "QOR.INI");
    for (const char* side : same ? std::vector<const char*>{"S"} : std::vector<const char*>{"C", "P"}) {
      for (int i = 0; i < 20; ++i) {
        const std::string value = "=" + std::string(side) + std::to_string(round * 100 + i) + ",n,\r\n";
        const std::size_t at = registry.find(value);
        EXPECT_NE(at, std::string::npos) << value << " in round " << round;
        EXPECT_EQ(registry.find(value, at + 1), std::string::npos) << value << " twice";
      }
    }
    EXPECT_EQ(registry.find(same ? "ID22=" : "ID41=") != std::string::npos, !same);
    EXPECT_NE(registry.find(same ? "ID21=" : "ID41="), std::string::npos);
  }
}

}  // namespace
}  // namespace qortest
