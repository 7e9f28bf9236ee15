#include "cli/json_output.h"

#include <nlohmann/json.hpp>

#include "base/pane_commands.h"
#include "host/cp932_text.h"
#include "host/log_cursor.h"

namespace cli {
namespace {

// The add-in's image list, in the order it adds the bitmaps.
constexpr int kSentImage = qor::kImageSent;
constexpr int kReceivedImage = qor::kImageReceived;
constexpr int kReceivedOpenImage = qor::kImageReceivedOpen;
constexpr int kSentOpenImage = qor::kImageSentOpen;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

// A code page 932 text as a JSON string under `key`; when some of its bytes are no character, its
// bytes in hex as well under `key`_bytes.
void PutText(nlohmann::ordered_json& object, const std::string& key, const std::string& bytes) {
  bool whole = true;
  object[key] = host::DecodeCp932(bytes, &whole);
  if (!whole) object[key + "_bytes"] = Hex(bytes);
}

std::string Line(const nlohmann::ordered_json& object) {
  // Paths come from the command line and may hold bytes that are no UTF-8.
  return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

std::vector<ItemKind> KindsOf(const std::vector<desktop::TreeRow>& rows, const host::LogStore& log) {
  std::vector<ItemKind> kinds;
  std::vector<ItemKind> parents;  // the kinds of the items above the current one, by depth
  for (const desktop::TreeRow& row : rows) {
    parents.resize(static_cast<size_t>(row.depth));
    const bool inGroup = !parents.empty() && parents.back() == ItemKind::Group;
    ItemKind kind = ItemKind::Heading;
    if (row.param == -1) {
      kind = ItemKind::Root;
    } else if (row.param == 0) {
      kind = ItemKind::Group;
    } else if (row.image == kReceivedImage && row.selectedImage == kReceivedOpenImage) {
      kind = ItemKind::ReceivedMail;
    } else if ((row.image == kSentImage && row.selectedImage == kSentOpenImage) ||
               (inGroup && !host::IsHeadingLine(log.Attribute(row.param)))) {
      // In a group without images: the sent-by-ID view, the one listing that gives its mails none.
      kind = ItemKind::SentMail;
    }
    kinds.push_back(kind);
    parents.push_back(kind);
  }
  return kinds;
}

std::string TreeItemJson(const std::string& logPath, int view, const desktop::TreeRow& row,
                         ItemKind kind) {
  static const char* const kKinds[] = {"root", "group", "mail", "mail", "heading"};
  nlohmann::ordered_json item;
  item["log"] = logPath;
  item["view"] = view;
  item["depth"] = row.depth;
  item["kind"] = kKinds[static_cast<int>(kind)];
  if (kind == ItemKind::ReceivedMail || kind == ItemKind::SentMail) {
    item["direction"] = kind == ItemKind::ReceivedMail ? "received" : "sent";
  }
  if (row.param > 0) item["position"] = row.param;
  PutText(item, "label", row.text);
  item["image"] = row.image;
  item["selected_image"] = row.selectedImage;
  item["selected"] = row.selected;
  return Line(item);
}

std::string IdJson(const IdSummary& summary) {
  nlohmann::ordered_json object;
  PutText(object, "id", summary.id);
  PutText(object, "name", summary.name);
  object["received"] = summary.received;
  object["sent"] = summary.sent;
  object["logs"] = summary.logs;
  return Line(object);
}

std::string MailJson(const std::string& logPath, const MailRecord& mail) {
  nlohmann::ordered_json object;
  object["log"] = logPath;
  object["line"] = mail.position;
  object["direction"] = mail.received ? "received" : "sent";
  PutText(object, "id", mail.id);
  PutText(object, "name", mail.name);
  object["date"] = mail.date.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(mail.date);
  object["time"] = mail.time.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(mail.time);
  PutText(object, "subject", mail.subject);
  object["size"] = mail.size >= 0 ? nlohmann::ordered_json(mail.size) : nlohmann::ordered_json();
  return Line(object);
}

}  // namespace cli
