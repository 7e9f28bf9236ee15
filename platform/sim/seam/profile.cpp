#include "platform/profile.h"

#include "platform/sim/desktop.h"
#include "platform/sim/desktop_internal.h"

namespace platform {

int GetProfileInt(const char* section, const char* key, int fallback, const char* file) {
  return simdesk::GetPrivateProfileInt(section, key, fallback, file);
}

std::size_t GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                             std::size_t size, const char* file) {
  return simdesk::GetPrivateProfileString(section, key, fallback, buffer, size, file);
}

bool WriteProfileString(const char* section, const char* key, const char* value, const char* file) {
  return simdesk::WritePrivateProfileString(section, key, value, file);
}

constexpr int kLockWaitSeconds = 10;

ProfileLock::ProfileLock(const char* file) : handle_(simdesk::seam::LockProfile(file, kLockWaitSeconds)) {}
ProfileLock::~ProfileLock() { simdesk::seam::UnlockProfile(static_cast<int>(handle_)); }

}  // namespace platform
