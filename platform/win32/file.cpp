// QOR.DAT read with no sharing, and the CSV export put in place with ReplaceFileW, which keeps
// the target's security and streams; the new file carries the target's attributes. Paths come in
// code page 932, as the add-in holds them, and reach the file functions in UTF-16.
#include "platform/file.h"

#include <iterator>
#include <utility>

#include "platform/win32/seams.h"
#include "platform/win32/text.h"
#include "platform/win32/win32.h"

extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);  // RtlGenRandom, advapi32

namespace platform {

win32::ReplaceFileCall win32::replaceFile = ReplaceFileW;

namespace {

HANDLE Handle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// The path up to and including its last separator.
std::wstring DirectoryOf(const std::wstring& path) {
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

std::wstring RandomLetters(std::size_t count) {
  static const wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::string bytes(count, '\0');
  if (!SystemFunction036(bytes.data(), static_cast<ULONG>(count))) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    unsigned long long seed = static_cast<unsigned long long>(now.QuadPart) ^ GetCurrentProcessId();
    for (char& byte : bytes) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      byte = static_cast<char>(seed >> 56);
    }
  }
  std::wstring letters;
  for (const char byte : bytes) letters += kLetters[static_cast<unsigned char>(byte) % (std::size(kLetters) - 1)];
  return letters;
}

// The file a symbolic link or junction names (Vista and later; earlier systems have no links to
// files). Empty when the path is no link or cannot be resolved.
std::wstring LinkTarget(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return {};
  using FinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  const auto finalPath = reinterpret_cast<FinalPath>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (!finalPath) return {};
  const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  wchar_t buffer[MAX_PATH + 16];
  const DWORD length = finalPath(file, buffer, MAX_PATH + 16, 0);
  CloseHandle(file);
  if (length == 0 || length >= MAX_PATH + 16) return {};
  std::wstring resolved(buffer, length);
  if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + resolved.substr(8);
  if (resolved.rfind(L"\\\\?\\", 0) == 0) return resolved.substr(4);
  return resolved;
}

bool WriteAll(HANDLE file, const char* bytes, std::size_t count) {
  while (count > 0) {
    DWORD done = 0;
    const DWORD chunk = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
    if (!WriteFile(file, bytes, chunk, &done, nullptr) || done == 0) return false;
    bytes += done;
    count -= done;
  }
  return true;
}

bool SeekTo(HANDLE file, uint64_t at) {
  LARGE_INTEGER position{};
  position.QuadPart = static_cast<LONGLONG>(at);
  return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != FALSE;
}

// Copies bytes [from, to) of `source` to the same place in `target`.
bool CopyRange(HANDLE source, HANDLE target, uint64_t from, uint64_t to) {
  char buffer[1 << 16];
  while (from < to) {
    const DWORD want = static_cast<DWORD>(to - from < sizeof buffer ? to - from : sizeof buffer);
    DWORD got = 0;
    if (!SeekTo(source, from) || !ReadFile(source, buffer, want, &got, nullptr) || got == 0) return false;
    if (!SeekTo(target, from) || !WriteAll(target, buffer, got)) return false;
    from += got;
  }
  return true;
}

// Another program (an indexer, a virus scanner) may hold the new file or the target for a moment.
// ReplaceFileW says so with ERROR_UNABLE_TO_REMOVE_REPLACED: both files keep their names and the
// target its content, so trying again is safe.
bool Transient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

bool Missing(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The attributes a replaced file keeps (read-only targets are refused before); its content has
// changed, so it is marked for the next backup as any written file is.
DWORD KeptAttributes(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)) |
         FILE_ATTRIBUTE_ARCHIVE;
}

constexpr int kTries = 20;
constexpr DWORD kPauseMs = 100;

}  // namespace

InputFile::~InputFile() {
  if (handle_ != -1) CloseHandle(Handle(handle_));
}

bool InputFile::Open(const std::string& path) {
  if (handle_ != -1) return false;
  const std::wstring name = win32::ToWide(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  // No sharing: a file another program holds open fails here and counts as absent.
  const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(file);
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) return false;
  size_ = static_cast<uint64_t>(size.QuadPart);
  return true;
}

bool InputFile::Read(void* into, std::size_t count) {
  if (handle_ == -1 || count > size_ - position_ || !SeekTo(Handle(handle_), position_)) return false;
  auto* bytes = static_cast<char*>(into);
  while (count > 0) {
    DWORD got = 0;
    const DWORD want = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
    if (!ReadFile(Handle(handle_), bytes, want, &got, nullptr) || got == 0) return false;
    bytes += got;
    count -= got;
    position_ += got;
  }
  return true;
}

bool InputFile::Skip(uint64_t count) {
  if (handle_ == -1 || count > size_ - position_) return false;
  position_ += count;
  return true;
}

struct FileReplacement::State {
  std::wstring target;
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  bool targetGone = false;  // ReplaceFileW removed the old file without putting the new one there

  void CloseTemporary() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
  bool CopyInPlace();
  bool Replace();  // over the target that is there
  bool MoveIn();   // where there is no target
};

FileReplacement::FileReplacement() : state_(std::make_unique<State>()) {}

FileReplacement::~FileReplacement() {
  state_->CloseTemporary();
  if (!state_->temporary.empty()) DeleteFileW(state_->temporary.c_str());
}

bool FileReplacement::Begin(const std::string& target) {
  State& s = *state_;
  s.target = win32::ToWide(target);
  if (const std::wstring resolved = LinkTarget(s.target); !resolved.empty()) s.target = resolved;
  const DWORD attributes = GetFileAttributesW(s.target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    // A device (CON, COM1, a pipe) is no file to replace.
    const HANDLE existing = CreateFileW(s.target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (existing == INVALID_HANDLE_VALUE) return false;
    const bool disk = GetFileType(existing) == FILE_TYPE_DISK;
    CloseHandle(existing);
    if (!disk) return false;
  } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
    return false;
  }
  // Beside the target, in a name that keeps the whole path within MAX_PATH: the target's own path
  // fits, so a name as short as the target's always does.
  const std::wstring directory = DirectoryOf(s.target);
  if (directory.size() + 2 > MAX_PATH - 1) return false;
  const std::size_t room = MAX_PATH - 1 - directory.size();
  const std::size_t letters = room > 13 ? 12 : room - 1;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring name = directory + L"~" + RandomLetters(letters);
    // CREATE_NEW: a name that exists in any form, a planted link included, is never opened.
    s.file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (s.file != INVALID_HANDLE_VALUE) {
      s.temporary = name;
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool FileReplacement::Write(const void* bytes, std::size_t count) {
  return state_->file != INVALID_HANDLE_VALUE && WriteAll(state_->file, static_cast<const char*>(bytes), count);
}

// A target with several hard links gets the new bytes in its own file. The part beyond its old end
// goes first: when that fails for want of room, the old size comes back and nothing has changed;
// the rest overwrites bytes the file already holds.
bool FileReplacement::State::CopyInPlace() {
  const HANDLE out = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER newSize{}, oldSize{};
  bool ok = GetFileSizeEx(file, &newSize) && GetFileSizeEx(out, &oldSize);
  const uint64_t size = static_cast<uint64_t>(newSize.QuadPart), old = static_cast<uint64_t>(oldSize.QuadPart);
  if (ok && size > old && !CopyRange(file, out, old, size)) {
    ok = false;
    if (SeekTo(out, old)) SetEndOfFile(out);
  }
  ok = ok && CopyRange(file, out, 0, size < old ? size : old) && (size >= old || (SeekTo(out, size) && SetEndOfFile(out)));
  return CloseHandle(out) && ok;
}

// Without a backup name, ReplaceFileW can fail half-way: ERROR_UNABLE_TO_MOVE_REPLACEMENT leaves
// the target deleted, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 renamed away, the new file under its
// temporary name in both. Whenever the target is no longer there, the new file is moved into its
// place as if there had been none.
bool FileReplacement::State::Replace() {
  for (int attempt = 0; attempt < kTries; ++attempt) {
    if (attempt > 0) Sleep(kPauseMs);
    if (win32::replaceFile(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                           nullptr)) {
      return true;
    }
    const DWORD error = GetLastError();
    if (Missing(target)) {
      targetGone = true;
      return MoveIn();
    }
    if (!Transient(error)) return false;
  }
  return false;
}

bool FileReplacement::State::MoveIn() {
  for (int attempt = 0; attempt < kTries; ++attempt) {
    if (attempt > 0) Sleep(kPauseMs);
    if (MoveFileExW(temporary.c_str(), target.c_str(), 0)) return true;
    if (!Transient(GetLastError())) return false;
  }
  return false;
}

bool FileReplacement::Commit() {
  State& s = *state_;
  if (s.file == INVALID_HANDLE_VALUE) return false;
  const DWORD attributes = GetFileAttributesW(s.target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;
  if (exists) {
    BY_HANDLE_FILE_INFORMATION information{};
    const HANDLE probe = CreateFileW(s.target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
    const bool linked = probe != INVALID_HANDLE_VALUE && GetFileInformationByHandle(probe, &information) &&
                        information.nNumberOfLinks > 1;
    if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
    if (linked) {
      const bool ok = s.CopyInPlace();
      s.CloseTemporary();
      return ok;  // the destructor removes the temporary file
    }
  }
  const bool flushed = FlushFileBuffers(s.file) != FALSE;
  s.CloseTemporary();
  // ReplaceFileW gives the new file the target's attributes on Windows, but not everywhere (Wine
  // drops hidden and system): the new file takes them before it goes in place.
  if (exists) SetFileAttributesW(s.temporary.c_str(), KeptAttributes(attributes));
  if (!flushed || !(exists ? s.Replace() : s.MoveIn())) {
    // The old file is gone: the new one is all the user has, and stays under its temporary name.
    if (s.targetGone) kept_ = win32::FromWide(std::exchange(s.temporary, std::wstring()));
    return false;
  }
  s.temporary.clear();
  return true;
}

}  // namespace platform
