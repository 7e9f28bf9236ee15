#include "scan/received_block_by_id.h"

#include "scan/received_record.h"

namespace qor {

bool ScanReceivedBlockById(ListingFrame& frame, LineCursor& cursor, GroupTable& table, FileReceivedMail file) {
  std::string joined;
  for (std::string_view text = cursor.Text(); !ClosesReceivedBlock(text); text = cursor.Text()) {
    if (IsMailHeader(text)) {
      const LinePosition header = cursor.Position();
      ReadMailRecord(cursor, joined);
      const bool firstMail = table.Empty();
      file(table, CutReceivedFields(joined), header);
      // Back to H and on to H+2. At the end of the log these moves clamp, so the mail keeps the
      // position taken on H itself.
      cursor.Previous();
      cursor.Next().Next();
      if (!firstMail) frame.Count();
      cursor.Next();
    }
    cursor.Next();
    frame.Count();
    if (frame.AtLastLine(cursor)) return true;
  }
  return false;
}

}  // namespace qor
