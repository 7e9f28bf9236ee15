// QOR.DAT beside the add-in module decides whether the ID registration is offered. It holds two
// length-prefixed strings (one-byte length, or 0xFF and a 16-bit one, or 0xFF 0xFFFF and a 32-bit
// one; 0xFF 0xFFFE first marks UTF-16 text); only whether both can be read counts.
#pragma once
#include <cstdio>
#include <string>

namespace qor {

// Reads the two strings from the stream. False when the stream ends before both are complete; no
// length claimed by the file is allocated before the bytes are known to be there.
bool ReadQorStrings(std::FILE* file, std::string (&strings)[2]);

// Looks for QOR.DAT in the module's directory and sets state.qorPresent and state.qorStrings.
void LoadQorData();

}  // namespace qor
