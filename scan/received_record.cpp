#include "scan/received_record.h"

#include "scan/received_layout.h"

namespace qor {

std::string ReadMailRecord(LineCursor& cursor) {
  const std::string header = cursor.Text();  // the host's text is read before the next call
  return JoinMailRecord(header, cursor.Next().Text());
}

}  // namespace qor
