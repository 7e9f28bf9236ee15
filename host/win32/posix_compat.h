// What mailzolka's sources take from POSIX and the Windows C runtime lacks.
#pragma once
#ifdef __cplusplus
extern "C" {
#endif

// Creates a directory named by the template, its last six X characters replaced; the template, or
// null when no such directory could be made.
char* mkdtemp(char* name);

#ifdef __cplusplus
}
#endif
