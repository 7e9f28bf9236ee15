// The one rule for an ID's name, shared by ids, register and mails: the name in the latest mail
// received from the ID (the last log that has one, and the latest such mail in it), without the
// blanks that pad it; none for an ID only mailed to.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>

namespace cli {

// Code page 932 text without ASCII and full-width blanks at either end.
std::string TrimBlanks(std::string_view text);

class IdNames {
 public:
  // A mail received from `id`, read after every earlier one, named `name` (code page 932).
  void Received(const std::string& id, std::string_view name) { names_[id] = TrimBlanks(name); }
  const std::string& Of(const std::string& id) const;

 private:
  std::unordered_map<std::string, std::string> names_;
};

}  // namespace cli
