// The step every received-mail listing takes on a header line: its text and the next line's,
// joined. The cursor moves on to the continuation line, or stays on a last line, which is then
// joined with itself. The record goes into `joined`, whose room serves one mail after another.
#pragma once
#include <string>

#include "base/line_cursor.h"

namespace qor {

void ReadMailRecord(LineCursor& cursor, std::string& joined);

}  // namespace qor
