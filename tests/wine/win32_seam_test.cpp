// The Windows seam's file and lock handling where Windows can fail half-way, run under Wine:
// ReplaceFileW put in place of the real one fails as its documentation tells (each code leaves the
// files in its own state), the profile lock is shared by a program that may only wait on it, and
// the module's path splits in UTF-16 whatever the system's code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/file.h"
#include "platform/profile.h"
#include "platform/win32/seams.h"
#include "tests/sim/module_path_cases.h"

namespace {

// ---- ReplaceFileW failing as Windows documents it, `failures` times, then the real one.
DWORD failureCode = 0;
int failures = 0;
HANDLE heldReplacement = INVALID_HANDLE_VALUE;  // the new file, held by "another program"

BOOL WINAPI FailingReplace(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID exclude,
                           LPVOID reserved) {
  if (failures == 0) return ReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
  --failures;
  // Without a backup name: 1176 has deleted the target, 1177 renamed it away; 1175 and a sharing
  // violation leave both files as they were.
  if (failureCode == ERROR_UNABLE_TO_MOVE_REPLACEMENT) DeleteFileW(replaced);
  if (failureCode == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileW(replaced, (std::wstring(replaced) + L".away").c_str());
  if (heldReplacement == INVALID_HANDLE_VALUE && failures < 0) {
    heldReplacement = CreateFileW(replacement, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  SetLastError(failureCode);
  return FALSE;
}

class Replacement : public ::testing::Test {
 protected:
  Replacement() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    directory_ = std::string(temp) + "qor-seam-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(directory_.c_str(), nullptr);
    target_ = directory_ + "ids.csv";
    Put(target_, "old\n");
    platform::win32::replaceFile = FailingReplace;
  }
  ~Replacement() override {
    platform::win32::replaceFile = ReplaceFileW;
    if (heldReplacement != INVALID_HANDLE_VALUE) CloseHandle(heldReplacement);
    heldReplacement = INVALID_HANDLE_VALUE;
    for (const std::string& name : Names()) DeleteFileA((directory_ + name).c_str());
    RemoveDirectoryA(directory_.c_str());
  }

  static void Put(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(file);
  }
  static std::string Content(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(none)";
    char buffer[256];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((directory_ + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }
  // Writes "new" over the target with ReplaceFileW failing `count` times (-1: always, and the new
  // file is then held open by another program as soon as the first failure has happened).
  bool Replace(DWORD code, int count) {
    failureCode = code;
    failures = count;
    EXPECT_TRUE(replacement_.Begin(target_));
    EXPECT_TRUE(replacement_.Write("new\n", 4));
    return replacement_.Commit();
  }

  std::string directory_;
  std::string target_;
  platform::FileReplacement replacement_;
};

TEST_F(Replacement, EachDocumentedFailureEndsWithTheNewFileInPlace) {
  const struct {
    DWORD code;
    std::set<std::string> left;
  } cases[] = {
      {ERROR_UNABLE_TO_REMOVE_REPLACED, {"ids.csv"}},  // tried again
      {ERROR_UNABLE_TO_MOVE_REPLACEMENT, {"ids.csv"}},  // the target deleted: moved in
      {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, {"ids.csv", "ids.csv.away"}},  // renamed away: moved in
      {ERROR_SHARING_VIOLATION, {"ids.csv"}},  // tried again
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.code);
    Put(target_, "old\n");
    platform::FileReplacement replacement;
    failureCode = each.code;
    failures = 2;
    ASSERT_TRUE(replacement.Begin(target_));
    ASSERT_TRUE(replacement.Write("new\n", 4));
    EXPECT_TRUE(replacement.Commit());
    EXPECT_EQ(Content(target_), "new\n");
    EXPECT_EQ(Names(), each.left);
    EXPECT_EQ(replacement.Kept(), "");
    DeleteFileA((target_ + ".away").c_str());
  }
}

TEST_F(Replacement, AFailureThatLastsKeepsTheOldFileAndRemovesTheNewOne) {
  for (const DWORD code : {DWORD{ERROR_UNABLE_TO_REMOVE_REPLACED}, DWORD{ERROR_SHARING_VIOLATION}}) {
    SCOPED_TRACE(code);
    {
      platform::FileReplacement replacement;
      failureCode = code;
      failures = 1000;
      ASSERT_TRUE(replacement.Begin(target_));
      EXPECT_FALSE(replacement.Commit());
      EXPECT_EQ(replacement.Kept(), "");
    }
    EXPECT_EQ(Content(target_), "old\n");
    EXPECT_EQ(Names(), std::set<std::string>{"ids.csv"});
  }
}

TEST_F(Replacement, ANewFileThatCannotTakeTheDeletedTargetsNameIsKept) {
  EXPECT_FALSE(Replace(ERROR_UNABLE_TO_MOVE_REPLACEMENT, -1));
  CloseHandle(std::exchange(heldReplacement, INVALID_HANDLE_VALUE));
  const std::string kept = replacement_.Kept();
  ASSERT_EQ(kept.rfind(directory_ + "~", 0), 0u) << kept;
  EXPECT_EQ(Names(), std::set<std::string>{kept.substr(directory_.size())});
  EXPECT_EQ(Content(kept), "new\n");
}

// ---- The profile lock.
TEST(ProfileLock, IsNamedInTheSessionAndASecondHolderWaits) {
  const std::string name = platform::win32::ProfileLockName("QOR.INI");
  EXPECT_EQ(name, "Local\\QORMAIL profile lock QOR.INI");

  std::optional<platform::ProfileLock> first;
  first.emplace("QOR.INI");
  ASSERT_TRUE(first->Held());
  // What a program denied the mutex's full access opens instead. (Wine grants every access
  // whatever the mutex's DACL, so the denial itself shows only on Windows.)
  const HANDLE waitOnly = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
  ASSERT_NE(waitOnly, nullptr);
  EXPECT_EQ(WaitForSingleObject(waitOnly, 0), static_cast<DWORD>(WAIT_OBJECT_0));  // its owner's again
  ReleaseMutex(waitOnly);
  CloseHandle(waitOnly);

  // A second holder (another thread, since the mutex is its owner's again at once) waits for it.
  struct Second {
    static DWORD WINAPI Run(void*) {
      platform::ProfileLock second("QOR.INI");
      return second.Held() ? 1 : 0;
    }
  };
  const HANDLE thread = CreateThread(nullptr, 0, Second::Run, nullptr, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 300), static_cast<DWORD>(WAIT_TIMEOUT));
  first.reset();
  ASSERT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD held = 0;
  GetExitCodeThread(thread, &held);
  EXPECT_EQ(held, 1u);
  CloseHandle(thread);
}

TEST(ProfileLock, ANameTakenByAnotherKindOfObjectGivesNoLockAtOnce) {
  const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, platform::win32::ProfileLockName("OTHER.INI").c_str());
  ASSERT_NE(event, nullptr);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(platform::ProfileLock("OTHER.INI").Held());
  EXPECT_LT(GetTickCount() - start, 1000u);
  CloseHandle(event);
}

// ---- The module's path: taken in UTF-16 and split there, so that a separator is never read as the
// second byte of a double-byte character, under any ANSI code page.
TEST(ModulePath, SplitsAtItsLastBackslashInUtf16) {
  for (const ModulePathCase& c : ModulePathCases()) {
    std::wstring path(c.path.size(), L'\0');
    path.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, c.path.data(), static_cast<int>(c.path.size()), path.data(),
                            static_cast<int>(path.size()))));
    const platform::ModuleFile file = platform::win32::SplitModulePath(path);
    EXPECT_EQ(file.directory, c.directory) << c.path;
    EXPECT_EQ(file.name, c.name) << c.path;
  }
  const platform::ModuleFile here = platform::ThisModuleFile();
  EXPECT_EQ(here.directory + here.name, platform::ModulePath());
  EXPECT_EQ(here.name, "win32_seam_test.exe");
}

}  // namespace
