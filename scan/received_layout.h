// How received mail stands in the log: a block after the line holding "＞READ NEW", header lines
// recognised by four byte-wise tests, and fields cut at fixed byte offsets of the joined record
// (header line and its continuation line). No cursor moves here; the listings decide which lines
// to hand over.
#pragma once
#include <string>
#include <string_view>

namespace qor {

constexpr std::size_t kJoinedTextLimit = 511;

bool OpensReceivedBlock(std::string_view line);
bool ClosesReceivedBlock(std::string_view line);
int ReadMailNumber(std::string_view line);  // the first four bytes, read as a decimal number
bool IsMailHeader(std::string_view line);

// Header line and continuation line joined, cut to 511 bytes on a character boundary.
// CompleteMailRecord: `record` holds the header and becomes the record (a listing keeps its room
// from one mail to the next).
void CompleteMailRecord(std::string& record, std::string_view continuation);
inline std::string JoinMailRecord(std::string_view header, std::string_view continuation) {
  std::string record(header);
  CompleteMailRecord(record, continuation);
  return record;
}

struct ReceivedFields {
  std::string_view listingText;  // from byte 4 to the end
  std::string_view senderName;   // bytes 4 to 17
  std::string_view senderId;     // bytes 22 to 29
  std::string_view subject;      // from byte 64 to the end
};
ReceivedFields CutReceivedFields(std::string_view joined);

// The bytes 30 to 63 the listings pass over, for readers of a whole mail record (mailzolka mails):
// the service writes the date there (bytes 32 to 39, yy/mm/dd), the time (41 to 45, hh:mm) and, in
// some listings, the size (46 to 63, "(812バイト)"); other listings give the size on line H+2.
struct ReceivedDetails {
  std::string_view date;
  std::string_view time;
  std::string_view size;
};
ReceivedDetails CutReceivedDetails(std::string_view joined);
// The byte count of a size text: "(", digits, "バイト", ")", blanks around it allowed; -1 otherwise.
long ReadMailSize(std::string_view text);

}  // namespace qor
