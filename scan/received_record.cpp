#include "scan/received_record.h"

#include "base/sjis.h"
#include "scan/received_layout.h"

namespace qor {

// The header is copied (the host's text is read before the next call) into room for the whole
// record, and the continuation joined to it.
void ReadMailRecord(LineCursor& cursor, std::string& joined) {
  joined.reserve(kJoinedTextLimit + 1);
  joined = cursor.Text();
  CompleteMailRecord(joined, cursor.Next().Text());
}

}  // namespace qor
