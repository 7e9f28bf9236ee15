// Private profile files (INI) named without a directory: they live in the platform's default place.
#pragma once
#include <cstddef>

namespace platform {

int GetProfileInt(const char* section, const char* key, int fallback, const char* file);
// Copies the value (or fallback) into buffer, cut to size - 1 bytes; returns the bytes copied.
std::size_t GetProfileString(const char* section, const char* key, const char* fallback, char* buffer,
                             std::size_t size, const char* file);
bool WriteProfileString(const char* section, const char* key, const char* value, const char* file);

}  // namespace platform
