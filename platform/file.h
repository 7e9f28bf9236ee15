// Files the add-in opens itself: QOR.DAT, which it reads, and the CSV export, which it writes.
// (Profile files go through profile.h.) And the one way a whole file is read into memory, for the
// hosts and the simulated desktop.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace platform {

// Appends everything the open file holds from where it stands to its end; false when a read fails.
inline bool ReadToEnd(std::FILE* file, std::string& bytes) {
  char chunk[1 << 16];
  std::size_t count;
  while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, count);
  return !std::ferror(file);
}

// The paths the add-in names (QOR.DAT's, the CSV target) are code page 932, as it holds every text;
// the platform converts them where they meet its file system.

// An existing regular file opened for reading, with no sharing where the platform has it (on
// Windows a file another program holds open cannot be opened, and no other program can open it
// meanwhile). A name that is no regular file (a directory, FIFO, device or socket) is refused
// without being opened for reading, so opening never blocks.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool Open(const std::string& path);
  bool Read(void* into, std::size_t count);  // exactly count bytes, or false
  bool Skip(uint64_t count);                 // moves on without reading; false past the end

 private:
  intptr_t handle_ = -1;
  uint64_t size_ = 0;
  uint64_t position_ = 0;
};

// A file's new content, written into a temporary file beside it and put in its place only when
// complete: a failure at any step leaves the old file as it was and no temporary file behind, or,
// when the old file is already gone, the new one under its temporary name (Kept).
//  - A link the user chose is followed: the file it names is replaced, from beside that file.
//  - The temporary file is created exclusively (never through a link, never over a file that is
//    there) under a name nobody can predict and short enough for any target name.
//  - A target that is there but no regular file (a directory, a device, a FIFO) is refused.
//  - The target keeps its mode and owner, or on Windows its security and attributes; a target
//    with several hard links is written in place, so its links keep sharing it.
class FileReplacement {
 public:
  FileReplacement();
  ~FileReplacement();  // without Commit, the temporary file is removed
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  bool Begin(const std::string& target);
  bool Write(const void* bytes, std::size_t count);
  bool Commit();
  // After a failed Commit that had already removed the old file (Windows' ReplaceFile can stop
  // half-way), the path of the new file, left under its temporary name; empty otherwise.
  const std::string& Kept() const { return kept_; }

 private:
  friend struct FileReplacementAccess;  // the platform's own files, named in its file system's form
  struct State;
  std::unique_ptr<State> state_;
  std::string kept_;
};

}  // namespace platform
