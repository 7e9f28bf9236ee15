// Private profile files (INI) named without a directory: they live in the platform's default place.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

int GetProfileInt(const char* section, const char* key, int fallback, const char* file);
// Copies the value (or fallback) into buffer, cut to size - 1 bytes; returns the bytes copied.
std::size_t GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                             std::size_t size, const char* file);
bool WriteProfileString(const char* section, const char* key, const char* value, const char* file);

// Held while it lives, so that what one program reads from a profile file, decides and writes is
// not interleaved with another program doing the same. Held() is false when another program kept
// the lock for longer than a few seconds (or the platform could not make one); the caller then
// goes on without it.
class ProfileLock {
 public:
  explicit ProfileLock(const char* file);
  ~ProfileLock();
  ProfileLock(const ProfileLock&) = delete;
  ProfileLock& operator=(const ProfileLock&) = delete;
  bool Held() const { return handle_ != -1; }

 private:
  intptr_t handle_ = -1;
};

}  // namespace platform
