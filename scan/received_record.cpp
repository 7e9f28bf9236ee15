#include "scan/received_record.h"

#include "base/sjis.h"
#include "scan/received_layout.h"

namespace qor {

// JoinMailRecord's result, built in one string: the header is copied (the host's text is read
// before the next call) into room for the whole record, and the continuation appended to it.
void ReadMailRecord(LineCursor& cursor, std::string& joined) {
  joined.reserve(kJoinedTextLimit + 1);
  joined = cursor.Text();
  joined += cursor.Next().Text();
  joined.resize(CutAtCharacter(joined, kJoinedTextLimit).size());
}

}  // namespace qor
