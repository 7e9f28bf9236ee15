// What the front end takes from POSIX and the Windows C runtime lacks (posix_compat.cpp, built
// into the Windows build only).
#pragma once
#ifdef _WIN32

// Creates a directory named by the template, its last six X characters replaced; the template, or
// null when no such directory could be made.
extern "C" char* mkdtemp(char* name);

#endif
